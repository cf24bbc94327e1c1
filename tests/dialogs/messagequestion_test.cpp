// The message and question dialogs: their layout as tables, and real modal runs answered
// through keys, clicks and the close box.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "controls/vexdesign.h"
#include "dialogs/dialoglines.h"
#include "dialogs/htmlhelp.h"
#include "dialogs/vexmessage.h"
#include "dialogs/vexquestion.h"
#include "sysutil/scopeexit.h"
#include "sysutil/textconv.h"
#include "tests/bed/controlpictures.h"
#include "tests/bed/uitest.h"

namespace {

// The theme's pictures for every test of this file.
class TThemeEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { DesignStart(); }
  void TearDown() override { DesignEnd(); }
};
const auto* const theme = ::testing::AddGlobalTestEnvironment(new TThemeEnvironment);

int ClientWidth(TWindow& form) { return form.ClientRect().right; }
int ClientHeight(TWindow& form) { return form.ClientRect().bottom; }

TEST(DialogLines, SplitAndCentre) {
  const auto lines = SplitDialogText("<b>a||c|", 15, true);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].Text, "a");
  EXPECT_TRUE(lines[0].Bold);
  EXPECT_EQ(lines[1].Text, " ");
  EXPECT_EQ(lines[3].Text, "");  // the last piece stays as it is
  EXPECT_EQ(SplitDialogText("1|2|3|4|5|6|7|8|9|10|11|12|13|14|15|16|17", 15, true).size(), 15u);
  struct TCase {
    LONG RefWidth, Left;
  };
  // (ref − 50) / 2 = 25.5 → 26 and 26.5 → 26: halves go to the even neighbour.
  for (const TCase c : {TCase{101, 26}, TCase{103, 26}, TCase{100, 25}})
    EXPECT_EQ(CenteredOn({0, 0, c.RefWidth, 100}, {50, 50}, {0, 0, 1000, 1000}).x, c.Left);
  // Kept inside the bounds on every side.
  const POINT p = CenteredOn({950, 950, 1010, 1010}, {200, 100}, {0, 0, 1000, 1000});
  EXPECT_EQ(p.x, 800);
  EXPECT_EQ(p.y, 900);
}

TEST(VEXMessage, Layout) {
  struct TCase {
    const char* Text;
    bool CheckBox;
    int Lines;
    int ClientWidthAtLeast;
  };
  const std::string sixteen = "1|2|3|4|5|6|7|8|9|10|11|12|13|14|15|16";
  for (const TCase c : {TCase{"Short", false, 1, 238}, TCase{"a||b", false, 3, 238},
                        TCase{sixteen.c_str(), false, 15, 238}, TCase{"Short", true, 1, 238}}) {
    SCOPED_TRACE(c.Text);
    TVEXMessageForm form;
    form.Prepare(c.Text, diError, c.CheckBox, {}, nullptr);
    const int pitch = 16;
    EXPECT_EQ(form.LinePitch(), pitch);
    EXPECT_EQ(ClientWidth(form), 238);  // all narrower than 100: W = 100
    EXPECT_EQ(form.OKKnopf().Top(), c.Lines * pitch + 60);
    EXPECT_EQ(form.OKKnopf().Left() + form.OKKnopf().Width(), 100 + 79);
    const int bottom = form.OKKnopf().Top() + form.OKKnopf().Height();
    EXPECT_EQ(ClientHeight(form), bottom + (c.CheckBox ? 40 : 20));
    EXPECT_EQ(form.NichtNochMalCB().Top(), ClientHeight(form) - 26);
    EXPECT_EQ(form.NichtNochMalCB().Visible(), c.CheckBox);
    EXPECT_EQ(form.Line(c.Lines - 1).Visible(), true);
    EXPECT_EQ(form.Text(), DesignTrademark + " " + DesignProductName);
  }
  TVEXMessageForm form;
  form.Prepare("a||<b>Bold line", diInformation, false, {}, nullptr);
  EXPECT_EQ(form.Line(1).Text(), " ");
  EXPECT_EQ(form.Line(2).Text(), "Bold line");
  EXPECT_TRUE(form.Line(2).Font().Bold());
  EXPECT_FALSE(form.Line(0).Font().Bold());
  // A wide line sets the width; the button's right edge follows it.
  form.Prepare("A much longer line that is certainly wider than one hundred pixels", diError,
               false, {"&Schliessen"}, nullptr);
  EXPECT_EQ(ClientWidth(form), form.Line(0).Width() + 138);
  EXPECT_EQ(form.OKKnopf().Left() + form.OKKnopf().Width(), form.Line(0).Width() + 79);
  EXPECT_EQ(form.OKKnopf().Text(), "&Schliessen");
}

TEST(VEXMessage, CentredOverAReferenceNearTheScreenEdgeStaysOnTheScreen) {
  TControlTestForm reference;
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  reference.SetBounds(sw - 60, sh - 60, 50, 50);
  TVEXMessageForm form;
  form.Prepare("Near the corner", diError, false, {}, &reference);
  RECT r{};
  GetWindowRect(form.Handle(), &r);
  EXPECT_EQ(r.right, sw);
  EXPECT_EQ(r.bottom, sh);
}

TEST(VEXMessage, ShowAgainFollowsTheBoxAndASecondRequestIsRefused) {
  for (const bool tick : {true, false}) {
    int refused = -1, shown = 0;
    TWhenShown answer(L"TVEXMessageForm", [&](HWND dialog) {
      refused = VEXMessage().ShowInfo("Second");  // returns at once
      shown = 0;
      for (HWND h = FindWindowW(L"TVEXMessageForm", nullptr); h;
           h = FindWindowExW(nullptr, h, L"TVEXMessageForm", nullptr))
        shown += IsWindowVisible(h) ? 1 : 0;
      if (tick) VEXMessage().Form()->NichtNochMalCB().SetChecked(true);
      PostMessageW(dialog, WM_KEYDOWN, VK_RETURN, 1);
    });
    EXPECT_EQ(VEXMessage().ShowError("With a box", nullptr, true), 0);
    EXPECT_EQ(refused, 0);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(VEXMessage().ShowAgain(), !tick);
    EXPECT_EQ(VEXMessage().Form(), nullptr);
  }
}

TEST(VEXMessage, TheOwnerComesBackAfterAnExceptionInTheDialog) {
  TControlTestForm owner;
  // The exception's report is a message box of its own: closed when it comes.
  TMessageBoxCloser closer;
  TWhenShown answer(L"TVEXMessageForm", [&](HWND) {
    VEXMessage().Form()->OKKnopf().OnClick = [] { throw std::runtime_error("In the dialog"); };
    SendMessageW(VEXMessage().Form()->OKKnopf().Handle(), BM_CLICK, 0, 0);
    PostMessageW(VEXMessage().Form()->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
  });
  VEXMessage().ShowError("Throws", &owner);
  EXPECT_EQ(closer.Shown.size(), 1u);
  EXPECT_TRUE(owner.Enabled());
  EXPECT_TRUE(IsWindowVisible(owner.Handle()));
}

// --- question ---

TQuestion Confirmation() {
  TQuestion q;
  q.Text = "The resource manager works already.|Repair it anyway?";
  q.Captions = {"&Ja", "&Nein"};
  q.Buttons = qbYes | qbNo;
  q.DefaultButton = qaNo;
  return q;
}

uint8_t AnswerWith(const std::function<void(TVEXQuestionForm&)>& act,
                   const TQuestion& question = Confirmation()) {
  TWhenShown answer(L"TVEXQuestionForm", [&](HWND) { act(*VEXQuestion().Form()); });
  return VEXQuestion().Ask(question);
}

TEST(VEXQuestion, TheProgramsConfirmation) {
  EXPECT_EQ(AnswerWith([](TVEXQuestionForm& form) {
              EXPECT_TRUE(form.NeinKnopf().Focused());
              EXPECT_TRUE(form.NeinKnopf().Default());
              EXPECT_FALSE(form.AbbruchKnopf().Visible());
              EXPECT_EQ(form.JaKnopf().Text(), "&Ja");
              PostMessageW(form.NeinKnopf().Handle(), WM_KEYDOWN, VK_RETURN, 1);
            }),
            qaNo);
  EXPECT_EQ(AnswerWith([](TVEXQuestionForm& form) {
              PostMessageW(form.NeinKnopf().Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
            }),
            qaCancel);
  EXPECT_EQ(AnswerWith([](TVEXQuestionForm& form) { PostMessageW(form.Handle(), WM_CLOSE, 0, 0); }),
            qaCancel);
  EXPECT_EQ(AnswerWith([](TVEXQuestionForm& form) {
              SendMessageW(form.JaKnopf().Handle(), BM_CLICK, 0, 0);
            }),
            qaYes);
  // With the focus off the answers, Enter goes to the default one.
  TQuestion withBox = Confirmation();
  withBox.ShowCheckBox = true;
  EXPECT_EQ(AnswerWith(
                [](TVEXQuestionForm& form) {
                  form.NichtNochMalCB().SetFocus();
                  PostMessageW(form.NichtNochMalCB().Handle(), WM_KEYDOWN, VK_RETURN, 1);
                },
                withBox),
            qaNo);
}

TEST(VEXQuestion, Layout) {
  TVEXQuestionForm form;
  TQuestion q;
  q.Text = "Short";
  form.Prepare(q);
  EXPECT_EQ(ClientWidth(form), 478);  // 3 × 98 + 2 × 23 = 340, + 138
  const int top = form.NeinKnopf().Top();
  EXPECT_EQ(top, 16 + 60);
  EXPECT_EQ(form.AbbruchKnopf().Left(), 340 - 98 + 79);
  EXPECT_EQ(form.NeinKnopf().Left(), 340 - 98 + 79 - 108);
  EXPECT_EQ(form.JaKnopf().Left(), 340 - 98 + 79 - 216);
  EXPECT_FALSE(form.HilfeKnopf().Visible());

  q.Text = "1|2|3|4|5|6|7|8|9|10|11|12";
  q.HelpTopic = "repair.htm";
  q.Captions = {"&Yes"};
  form.Prepare(q);
  EXPECT_EQ(form.NeinKnopf().Top(), 10 * 16 + 60);
  EXPECT_TRUE(form.HilfeKnopf().Visible());
  EXPECT_EQ(form.HilfeKnopf().Left(), 78);
  EXPECT_EQ(form.HilfeKnopf().Top(), form.JaKnopf().Top());
  // Left of the row, and clear of it: the dialog widens for it.
  EXPECT_LE(form.HilfeKnopf().Left() + form.HilfeKnopf().Width() + 10, form.JaKnopf().Left());
  EXPECT_GT(ClientWidth(form), 478);
  EXPECT_EQ(form.JaKnopf().Text(), "&Yes");
  EXPECT_EQ(form.NeinKnopf().Text(), "Nein");
  EXPECT_EQ(form.AbbruchKnopf().Text(), "Abbruch");
}

}  // namespace

namespace {

// The window the user worked in is active again once a dialog over it closes, although the
// dialog takes the focus for its default button before it shows.
TEST(VEXDialogs, TheOwnerIsActiveAgainAfterTheDialog) {
  TControlTestForm form;
  PumpFor(100);
  ASSERT_EQ(GetActiveWindow(), form.Handle());
  for (const bool question : {false, true}) {
    SCOPED_TRACE(question ? "question" : "message");
    TWhenShown answer(question ? L"TVEXQuestionForm" : L"TVEXMessageForm",
                      [](HWND dialog) { PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 1); });
    if (question) {
      TQuestion q;
      q.Text = "Go on?";
      q.Reference = &form;
      VEXQuestion().Ask(q);
    } else {
      VEXMessage().ShowInfo("Done.", &form);
    }
    PumpFor(100);
    EXPECT_EQ(GetActiveWindow(), form.Handle());
  }
}

}  // namespace

namespace {

// A help file beside the program is opened only where no one but an administrator can have
// put it. Wine makes the user the owner of every file, so here F1 in either dialog refuses
// a file planted beside this test program and say why.
TEST(VEXDialogs, HelpFromAFolderTheUserCanChangeIsRefusedAndReported) {
  const std::wstring help = Widen(ApplicationHelpFile());
  const HANDLE planted = CreateFileW(help.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(planted, INVALID_HANDLE_VALUE);
  CloseHandle(planted);
  const TScopeExit cleanup([&] {
    DeleteFileW(help.c_str());
    SetHelpRefusalReporter(nullptr);
  });
  std::vector<std::string> reports;
  SetHelpRefusalReporter([&](const std::string& line) { reports.push_back(line); });
  const std::string expected =
      "Help file not opened: users who are not administrators can change it or its folder (" +
      ApplicationHelpFile() + ")";

  TControlTestForm form;
  PumpFor(100);
  {
    TWhenShown press(L"TVEXMessageForm", [](HWND dialog) {
      PostMessageW(dialog, WM_KEYDOWN, VK_F1, 1);
      PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 1);
    });
    VEXMessage().ShowInfo("Done.", &form);
  }
  {
    TWhenShown press(L"TVEXQuestionForm", [](HWND dialog) {
      PostMessageW(dialog, WM_KEYDOWN, VK_F1, 1);
      PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 1);
    });
    TQuestion q;
    q.Text = "Go on?";
    q.HelpTopic = "repair.htm";
    q.Reference = &form;
    VEXQuestion().Ask(q);
  }
  EXPECT_EQ(reports, std::vector<std::string>(2, expected));
  EXPECT_EQ(FindWindowW(L"HH Parent", nullptr), nullptr);
}

}  // namespace
