// The wizard laid out at 100, 125, 150 and 200 % display scale: every control inside its
// box, no two controls of a box overlapping, every label's text inside its bounds, and the
// window on a 1366 × 768 screen at 150 %.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/texts.h"
#include "app/wizard/mainform.h"
#include "controls/vexdesign.h"
#include "tests/bed/controlpictures.h"
#include "tests/bed/knownwindows.h"
#include "tests/bed/wizardchecks.h"
#include "tests/bed/scsubsystem.h"
#include "ui/scaling.h"

namespace {

struct TItem {
  std::string Name;
  const void* Parent;
  RECT Bounds;  // in the parent's client area
  RECT Text;    // a label's measured text in the same place; empty for other controls
  int FontHeight;
};

template <typename C>
TItem Item(const char* name, const C& control) {
  return {name, control.Parent(),
          {control.Left(), control.Top(), control.Left() + control.Width(), control.Top() + control.Height()},
          {},
          control.Font().Height()};
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

// With each of the status lines the wizard finds (the subsystem running, stopped, and as
// Windows 7 leaves it without a reader), the longest included: none runs into its link.
TEST_P(WizardScaling, EveryControlAndTextFitsItsPlace) {
  const TDpiOverride scale(GetParam());
  const TWindowsVersionOverride windows7(KnownWindows(TKnownWindows::Win7x64SP1));
  for (const TSubsystemState state :
       {TSubsystemState::Healthy, TSubsystemState::ServiceStopped, TSubsystemState::WindowsDefault}) {
    const TSubsystemScope subsystem(state);
    for (const bool english : {true, false}) {
      SCOPED_TRACE(testing::Message() << (english ? "English, " : "German, ")
                                      << SubsystemStateName(state));
      LanguageEnglish = english;
      TCardmendMainForm f;
      ASSERT_TRUE(AwaitChecks(f));
      f.BuildLaterPages();
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

// What a move to another display must make again: the pictures of the marks, the flag,
// and of the controls that draw from the artwork.
std::vector<TBitmap> Pictures(TCardmendMainForm& f) {
  std::vector<TBitmap> pictures;
  for (const TImage* image : {f.WinImage, f.AdminImage, f.PCSCImage, f.LangImage})
    pictures.push_back(image->Picture().Copy());
  f.Notebook1.SetPageIndex(TCardmendMainForm::FinishPage);
  pictures.push_back(Picture(*f.FertigstellenKnopf));
  pictures.push_back(Picture(*f.rbRestart));
  pictures.push_back(Picture(*f.rbLater));
  f.Notebook1.SetPageIndex(TCardmendMainForm::StartPage);
  pictures.push_back(Picture(*f.StartKnopf));
  return pictures;
}

bool SamePixels(const TBitmap& a, const TBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  return std::equal(a.Bits(), a.Bits() + a.Width() * a.Height(), b.Bits());
}

void ExpectSameLayout(TCardmendMainForm& moved, TCardmendMainForm& made) {
  EXPECT_EQ(moved.ClientRect().right, made.ClientRect().right);
  EXPECT_EQ(moved.ClientRect().bottom, made.ClientRect().bottom);
  const std::vector<TItem> got = Items(moved), wanted = Items(made);
  for (size_t i = 0; i < got.size(); ++i) {
    EXPECT_TRUE(EqualRect(&got[i].Bounds, &wanted[i].Bounds)) << got[i].Name;
    EXPECT_EQ(got[i].FontHeight, wanted[i].FontHeight) << got[i].Name;
  }
  const std::vector<TBitmap> gotPictures = Pictures(moved), wantedPictures = Pictures(made);
  for (size_t i = 0; i < gotPictures.size(); ++i)
    EXPECT_TRUE(SamePixels(gotPictures[i], wantedPictures[i])) << "picture " << i;
}

// Windows tells a window moved to a display of another scale with WM_DPICHANGED and a
// place for it. The wizard then looks as if it had been made on that display, and moved
// back, as it was: no figure drifts by a pixel on the way.
class WizardRescaling : public testing::TestWithParam<std::pair<int, int>> {
 protected:
  void SetUp() override { DesignStart(); }
  void TearDown() override { DesignEnd(); }
};

void MoveToDisplay(TCardmendMainForm& f, int dpi) {
  RECT suggested{40, 30, 40 + 600, 30 + 400};
  SendMessageW(f.Handle(), 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(dpi, dpi),
               reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(f.PixelsPerInch(), dpi);
  EXPECT_EQ(ScreenPixelsPerInch(), dpi);
  EXPECT_EQ(f.Left(), 40);
  EXPECT_EQ(f.Top(), 30);
}

TEST_P(WizardRescaling, MovedToAnotherDisplayItLooksAsIfMadeThere) {
  const auto [from, to] = GetParam();
  const TDpiOverride scale(from);
  TCardmendMainForm moved;
  ASSERT_TRUE(AwaitChecks(moved));
  moved.BuildLaterPages();
  moved.ApplyLanguage();
  MoveToDisplay(moved, to);
  {
    SCOPED_TRACE("there");
    TCardmendMainForm made;
    ASSERT_TRUE(AwaitChecks(made));
    made.BuildLaterPages();
    made.ApplyLanguage();
    ExpectSameLayout(moved, made);
  }
  MoveToDisplay(moved, from);
  {
    SCOPED_TRACE("back");
    TCardmendMainForm made;
    ASSERT_TRUE(AwaitChecks(made));
    made.BuildLaterPages();
    made.ApplyLanguage();
    ExpectSameLayout(moved, made);
  }
}

INSTANTIATE_TEST_SUITE_P(Moves, WizardRescaling,
                         testing::Values(std::pair{96, 144}, std::pair{144, 96}, std::pair{120, 192},
                                         std::pair{192, 120}),
                         [](const testing::TestParamInfo<std::pair<int, int>>& move) {
                           return std::to_string(move.param.first) + "To" +
                                  std::to_string(move.param.second);
                         });

}  // namespace
