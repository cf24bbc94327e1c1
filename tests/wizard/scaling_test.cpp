// The wizard laid out at 100, 125, 150 and 200 % display scale: every control inside its
// box, no two controls of a box overlapping, every label's text inside its bounds, and the
// window on a 1366 × 768 screen at 150 %.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/texts.h"
#include "app/wizard/mainform.h"
#include "controls/vexdesign.h"
#include "ui/scaling.h"

namespace {

struct TItem {
  std::string Name;
  const void* Parent;
  RECT Bounds;  // in the parent's client area
  RECT Text;    // a label's measured text in the same place; empty for other controls
};

template <typename C>
TItem Item(const char* name, const C& control) {
  return {name, control.Parent(),
          {control.Left(), control.Top(), control.Left() + control.Width(), control.Top() + control.Height()},
          {}};
}

TItem Item(const char* name, const TLabel& label) {
  TItem item = Item<TLabel>(name, label);
  item.Text = label.TextRect();
  OffsetRect(&item.Text, label.Left(), label.Top());
  return item;
}

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

std::vector<TItem> Items(const TCardmendMainForm& f) {
  return {Item("Panel2", *f.Panel2), Item("Panel5", *f.Panel5),
          Item("WelcomeLabel", *f.WelcomeLabel), Item("Label0_1", *f.Label0_1),
          Item("RequirementsLabel", *f.RequirementsLabel), Item("WinImage", *f.WinImage),
          Item("Label0_2", *f.Label0_2), Item("WinInfoLabel", *f.WinInfoLabel),
          Item("AdminImage", *f.AdminImage), Item("Label0_3", *f.Label0_3),
          Item("AdminInfoLabel", *f.AdminInfoLabel), Item("StatusLabel", *f.StatusLabel),
          Item("PCSCImage", *f.PCSCImage), Item("LabelPCSC", *f.LabelPCSC),
          Item("PCSCInfoLabel", *f.PCSCInfoLabel), Item("AboutLabel", *f.AboutLabel),
          Item("VersionsLabel", *f.VersionsLabel), Item("CopyrightLabel", *f.CopyrightLabel),
          Item("WebLabel", *f.WebLabel), Item("LangImage", *f.LangImage),
          Item("LangLabel", *f.LangLabel), Item("StartKnopf", *f.StartKnopf),
          Item("AbbruchKnopf", *f.AbbruchKnopf), Item("Panel7", *f.Panel7),
          Item("ProgressGroupBox", *f.ProgressGroupBox), Item("Label1_1", *f.Label1_1),
          Item("Label1_2", *f.Label1_2), Item("ProgressBar", *f.ProgressBar),
          Item("ProgressLabel", *f.ProgressLabel), Item("Panel10", *f.Panel10),
          Item("BeendenGroupBox", *f.BeendenGroupBox), Item("Label2_0", *f.Label2_0),
          Item("Label2_1", *f.Label2_1), Item("rbRestart", *f.rbRestart),
          Item("rbLater", *f.rbLater), Item("Label2_2", *f.Label2_2),
          Item("FertigstellenKnopf", *f.FertigstellenKnopf)};
}

RECT ClientOf(const void* parent, const TCardmendMainForm& f) {
  const auto* window = static_cast<const TWindow*>(parent);
  return window == &f.Notebook1.Page(0) || window == &f.Notebook1.Page(1) ||
                 window == &f.Notebook1.Page(2)
             ? f.Notebook1.ClientRect()
             : window->ClientRect();
}

class WizardScaling : public testing::TestWithParam<int> {
 protected:
  void SetUp() override { DesignStart(); }
  void TearDown() override {
    LanguageEnglish = true;
    DesignEnd();
  }
};

TEST_P(WizardScaling, EveryControlAndTextFitsItsPlace) {
  const TDpiOverride scale(GetParam());
  for (const bool english : {true, false}) {
    SCOPED_TRACE(english ? "English" : "German");
    LanguageEnglish = english;
    TCardmendMainForm f;
    f.ApplyLanguage();
    const std::vector<TItem> items = Items(f);
    for (const TItem& item : items) {
      EXPECT_TRUE(Inside(item.Bounds, ClientOf(item.Parent, f))) << item.Name << " leaves its box";
      if (!IsRectEmpty(&item.Text)) {
        EXPECT_TRUE(Inside(item.Text, item.Bounds)) << item.Name << "'s text is clipped";
      }
      for (const TItem& other : items) {
        RECT both{};
        if (&other < &item && other.Parent == item.Parent &&
            IntersectRect(&both, &item.Bounds, &other.Bounds)) {
          ADD_FAILURE() << item.Name << " overlaps " << other.Name;
        }
      }
    }
    EXPECT_EQ(f.Notebook1.Width(), MulDiv(470, GetParam(), 96));
    EXPECT_EQ(f.Notebook1.Height(), MulDiv(311, GetParam(), 96));
  }
}

INSTANTIATE_TEST_SUITE_P(Scales, WizardScaling, testing::Values(96, 120, 144, 192),
                         [](const testing::TestParamInfo<int>& dpi) {
                           return std::to_string(dpi.param * 100 / 96) + "Percent";
                         });

// At 150 % the window, frame included, fits a 1366 × 768 screen above its taskbar.
TEST(WizardScalingScreen, FitsA1366By768ScreenAt150Percent) {
  const TDpiOverride scale(144);
  DesignStart();
  TCardmendMainForm f;
  RECT window{};
  GetWindowRect(f.Handle(), &window);
  EXPECT_LE(window.right - window.left, 1366);
  EXPECT_LE(window.bottom - window.top, 768 - 48);
  DesignEnd();
}

}  // namespace
