// The message, the question and the hint laid out at 100, 125, 150 and 200 % display scale:
// every line, button and icon inside the client area (the hint's above its tail) and no two
// of them overlapping.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/vexdesign.h"
#include "dialogs/vexhint.h"
#include "dialogs/vexmessage.h"
#include "dialogs/vexquestion.h"
#include "sysutil/textconv.h"
#include "tests/bed/controlpictures.h"
#include "ui/scaling.h"

namespace {

struct TItem {
  std::string Name;
  RECT Bounds;
};

template <typename C>
TItem Item(const std::string& name, const C& control) {
  return {name, {control.Left(), control.Top(), control.Left() + control.Width(),
                 control.Top() + control.Height()}};
}

void ExpectLaidOut(const std::vector<TItem>& items, const RECT& area) {
  for (size_t i = 0; i < items.size(); ++i) {
    const RECT& r = items[i].Bounds;
    EXPECT_TRUE(r.left >= area.left && r.top >= area.top && r.right <= area.right &&
                r.bottom <= area.bottom)
        << items[i].Name << " leaves the window";
    for (size_t j = 0; j < i; ++j) {
      RECT both{};
      EXPECT_FALSE(IntersectRect(&both, &r, &items[j].Bounds))
          << items[i].Name << " overlaps " << items[j].Name;
    }
  }
}

// The check box reaches as far as its glyph and caption: its window is wider than most
// dialogs and clipped by them.
TItem CheckBoxItem(const TVEXCheck& box) {
  TItem item = Item("check box", box);
  const std::wstring caption = Widen(box.Text());
  const HDC dc = GetDC(nullptr);
  const HGDIOBJ old = SelectObject(dc, box.Font().Handle());
  SIZE text{};
  GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  item.Bounds.right = item.Bounds.left + Scaled(16) + text.cx;
  return item;
}

bool Blank(const std::string& caption) { return caption.find_first_not_of(' ') == std::string::npos; }

// The lines a dialog shows: those with a caption.
template <typename F>
void AddLines(std::vector<TItem>& items, F& form, int count) {
  for (int i = 0; i < count; ++i)
    if (!Blank(form.Line(i).Caption())) items.push_back(Item("line " + std::to_string(i), form.Line(i)));
}

const char Text[] =
    "<b>A heading on the first line</b>|A second line, somewhat longer than the first one||"
    "And a last line after a blank one.";

class DialogScaling : public testing::TestWithParam<int> {
 protected:
  void SetUp() override { DesignStart(); }
  void TearDown() override { DesignEnd(); }
};

TEST_P(DialogScaling, MessageLinesButtonAndCheckBoxFit) {
  const TDpiOverride scale(GetParam());
  TVEXMessageForm form;
  form.Prepare(Text, diError, true, {}, nullptr);
  std::vector<TItem> items = {Item("icon", form.TypeImage()), Item("OK", form.OKKnopf()),
                              CheckBoxItem(form.NichtNochMalCB())};
  AddLines(items, form, 4);
  ExpectLaidOut(items, form.ClientRect());
  EXPECT_EQ(form.LinePitch(), Scaled(16));
}

TEST_P(DialogScaling, QuestionLinesButtonsHelpAndCheckBoxFit) {
  const TDpiOverride scale(GetParam());
  TVEXQuestionForm form;
  TQuestion question;
  question.Text = Text;
  question.HelpTopic = "topic";
  question.ShowCheckBox = true;
  form.Prepare(question);
  std::vector<TItem> items = {Item("icon", form.TypeImage()), Item("Yes", form.JaKnopf()),
                              Item("No", form.NeinKnopf()), Item("Cancel", form.AbbruchKnopf()),
                              Item("help", form.HilfeKnopf()),
                              CheckBoxItem(form.NichtNochMalCB())};
  AddLines(items, form, 4);
  ExpectLaidOut(items, form.ClientRect());
}

// A heading in points grows faster than the pitch did: the lines below make room for it.
TEST_P(DialogScaling, HintLinesMakeRoomForTheirHeading) {
  const TDpiOverride scale(GetParam());
  TVEXHintForm form;
  form.Prepare("<b><s9>A heading in points||A line under it|And one more", {600, 500}, nullptr,
               htInformation);
  std::vector<TItem> items = {Item("icon", form.InfoImage()), Item("close", form.CloseKnopf())};
  for (int i = 0; i < TVEXHintForm::LineCount; ++i)
    if (form.Line(i).Visible()) items.push_back(Item("line " + std::to_string(i), form.Line(i)));
  RECT above = form.ClientRect();
  above.bottom -= Scaled(TVEXHintForm::TailHeight);
  ExpectLaidOut(items, above);
}

INSTANTIATE_TEST_SUITE_P(Scales, DialogScaling, testing::Values(96, 120, 144, 192),
                         [](const testing::TestParamInfo<int>& dpi) {
                           return std::to_string(dpi.param * 100 / 96) + "Percent";
                         });

// Moved to a display of another scale while it shows, a question is laid out as if it had
// been made there, where Windows put it, with the user's tick and the default button kept.
TEST(DialogRescaling, AQuestionMovedToAnotherDisplayLooksAsIfMadeThere) {
  DesignStart();
  const TDpiOverride scale(96);
  TQuestion question;
  question.Text = Text;
  question.HelpTopic = "topic";
  question.ShowCheckBox = true;
  question.DefaultButton = qaNo;
  TVEXQuestionForm moved;
  moved.Prepare(question);
  moved.NeinKnopf().SetDefault(true);
  moved.NichtNochMalCB().SetChecked(true);
  RECT suggested{50, 60, 50 + 700, 60 + 400};
  SendMessageW(moved.Handle(), 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(144, 144),
               reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(moved.Left(), 50);
  EXPECT_EQ(moved.Top(), 60);
  EXPECT_TRUE(moved.NichtNochMalCB().Checked());
  EXPECT_TRUE(moved.NeinKnopf().Default());
  EXPECT_FALSE(moved.JaKnopf().Default());

  TVEXQuestionForm made;  // at 144 now, as the move left the scale
  made.Prepare(question);
  EXPECT_EQ(made.LinePitch(), Scaled(16));
  EXPECT_EQ(moved.LinePitch(), made.LinePitch());
  const RECT movedClient = moved.ClientRect(), madeClient = made.ClientRect();
  EXPECT_TRUE(EqualRect(&movedClient, &madeClient));
  const auto items = [](TVEXQuestionForm& f) {
    std::vector<TItem> all = {Item("icon", f.TypeImage()), Item("Yes", f.JaKnopf()),
                              Item("No", f.NeinKnopf()), Item("Cancel", f.AbbruchKnopf()),
                              Item("help", f.HilfeKnopf()), Item("check box", f.NichtNochMalCB())};
    AddLines(all, f, 4);
    return all;
  };
  const std::vector<TItem> got = items(moved), wanted = items(made);
  ASSERT_EQ(got.size(), wanted.size());
  for (size_t i = 0; i < got.size(); ++i)
    EXPECT_TRUE(EqualRect(&got[i].Bounds, &wanted[i].Bounds)) << got[i].Name;
  EXPECT_EQ(moved.TypeImage().Picture().Width(), Scaled(39));
  DesignEnd();
}

}  // namespace
