#include "ui/form.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "tests/bed/uitest.h"
#include "ui/button.h"
#include "ui/label.h"
#include "ui/notebook.h"
#include "ui/panel.h"
#include "ui/scaling.h"
#include "ui/timer.h"

namespace {

class TKeyForm : public TForm {
 public:
  TKeyForm() : TForm(L"TKeyForm", FixedDialogStyle), Pages(this) {
    SetClientSize(300, 200);
    Pages.SetBounds(0, 0, 300, 200);
    auto& first = Pages.AddPage("First");
    auto& second = Pages.AddPage("Second");
    Go = std::make_unique<TButton>(&first);
    Go->SetText("&Go");
    Go->SetBounds(10, 10, 80, 25);
    Go->OnClick = [this] { ++GoClicks; };
    Other = std::make_unique<TButton>(&first);
    Other->SetText("&Other");
    Other->SetBounds(100, 10, 80, 25);
    Hidden = std::make_unique<TButton>(&second);
    Hidden->SetText("&Hidden");
    Hidden->SetBounds(10, 10, 80, 25);
    Hidden->OnClick = [this] { ++HiddenClicks; };
  }

  std::vector<WPARAM> SeenKeys;
  int GoClicks = 0;
  int HiddenClicks = 0;
  int Activations = 0;
  TNotebook Pages;
  std::unique_ptr<TButton> Go, Other, Hidden;

 protected:
  bool ShortCut(const MSG& msg) override {
    SeenKeys.push_back(msg.wParam);
    return msg.wParam == VK_F2 || msg.wParam == VK_SPACE;
  }
  void Activate() override { ++Activations; }
};

TEST(Form, ShortCutSeesKeysFirstAndHandledKeysGoNoFurther) {
  TKeyForm form;
  form.Show();
  form.Go->SetFocus();
  PressKey(form.Go->Handle(), VK_SPACE);  // would click the focused button
  EXPECT_EQ(form.GoClicks, 0);
  ASSERT_FALSE(form.SeenKeys.empty());
  EXPECT_EQ(form.SeenKeys.front(), static_cast<WPARAM>(VK_SPACE));
}

TEST(Form, AcceleratorsPressOnlyControlsThatCanBeSeen) {
  TKeyForm form;
  form.Show();
  form.Other->SetFocus();
  PostMessageW(form.Other->Handle(), WM_SYSCHAR, 'g', 0x20000001);
  PumpFor(50);
  EXPECT_EQ(form.GoClicks, 1);
  // With a button focused a plain letter is enough, as in a dialog.
  PostMessageW(form.Other->Handle(), WM_CHAR, 'G', 1);
  PumpFor(50);
  EXPECT_EQ(form.GoClicks, 2);
  PostMessageW(form.Other->Handle(), WM_SYSCHAR, 'h', 0x20000001);
  PumpFor(50);
  EXPECT_EQ(form.HiddenClicks, 0);
}

TEST(Form, TabMovesTheFocusWithinTheShownPage) {
  TKeyForm form;
  form.Show();
  form.Go->SetFocus();
  PressKey(form.Go->Handle(), VK_TAB);
  EXPECT_TRUE(form.Other->Focused());
  PressKey(form.Other->Handle(), VK_TAB);
  EXPECT_TRUE(form.Go->Focused());
}

TEST(Form, ShowModalDisablesTheOtherWindowsUntilAResultIsSet) {
  TKeyForm owner;
  owner.Show();
  TKeyForm dialog;
  bool ownerWasDisabled = false;
  TTimer timer;
  timer.SetInterval(50);
  timer.OnTimer = [&] {
    ownerWasDisabled = !owner.Enabled();
    dialog.SetModalResult(mrYes);
  };
  timer.SetEnabled(true);
  EXPECT_EQ(dialog.ShowModal(), mrYes);
  timer.SetEnabled(false);
  EXPECT_TRUE(ownerWasDisabled);
  EXPECT_TRUE(owner.Enabled());
  EXPECT_FALSE(dialog.Visible());
}

TEST(Form, ClosingAModalFormAnswersCancel) {
  TKeyForm dialog;
  TTimer timer;
  timer.SetInterval(50);
  timer.OnTimer = [&] { PostMessageW(dialog.Handle(), WM_CLOSE, 0, 0); };
  timer.SetEnabled(true);
  EXPECT_EQ(dialog.ShowModal(), mrCancel);
}

// Moved to a display of another scale, a form lays out its window, its controls and their
// fonts anew; a modal one takes the program's scale along only while it shows, since the
// forms below it stay where they are.
TEST(Form, AModalFormMovedToAnotherDisplayKeepsItsScaleToItself) {
  const TDpiOverride scale(96);
  TKeyForm dialog;
  TTimer timer;
  timer.SetInterval(50);
  int seen = 0;
  timer.OnTimer = [&] {
    timer.SetEnabled(false);
    RECT suggested{20, 30, 500, 400};
    SendMessageW(dialog.Handle(), 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(144, 144),
                 reinterpret_cast<LPARAM>(&suggested));
    seen = ScreenPixelsPerInch();
    dialog.SetModalResult(mrOk);
  };
  timer.SetEnabled(true);
  EXPECT_EQ(dialog.ShowModal(), mrOk);
  EXPECT_EQ(seen, 144);
  EXPECT_EQ(ScreenPixelsPerInch(), 96);
  EXPECT_EQ(dialog.PixelsPerInch(), 144);
  EXPECT_EQ(dialog.ClientRect().right, 450);
  EXPECT_EQ(dialog.ClientRect().bottom, 300);
  EXPECT_EQ(dialog.Left(), 20);
  EXPECT_EQ(dialog.Top(), 30);
  EXPECT_EQ(dialog.Other->Left(), 150);
  EXPECT_EQ(dialog.Other->Width(), 120);
  EXPECT_EQ(dialog.Other->Height(), 38);  // edges at 15 and 52.5, rounded as MulDiv does
  EXPECT_EQ(dialog.Other->Font().Height(), -16);  // 8 points at 150 %
}

TEST(Form, ActivateRunsOnFirstShowAndWhenBackFromOwnDialog) {
  TKeyForm owner;
  owner.Show();
  SetForegroundWindow(owner.Handle());
  PumpFor(100);
  ASSERT_EQ(GetActiveWindow(), owner.Handle());
  EXPECT_EQ(owner.Activations, 1);

  TKeyForm dialog;
  TTimer timer;
  timer.SetInterval(100);
  timer.OnTimer = [&] { dialog.SetModalResult(mrOk); };
  timer.SetEnabled(true);
  dialog.ShowModal();
  timer.SetEnabled(false);
  PumpFor(100);
  EXPECT_EQ(GetActiveWindow(), owner.Handle());
  EXPECT_EQ(owner.Activations, 2);
}

// A dialog: OK answers Enter and Esc belongs to Cancel, wherever the focus is, unless the
// focused control takes those keys itself.
class TDialogForm : public TForm {
 public:
  TDialogForm() : TForm(L"TDialogForm", FixedDialogStyle), Ok(this), Cancel(this), Other(this) {
    SetClientSize(300, 100);
    Ok.SetText("OK");
    Ok.SetBounds(10, 60, 80, 25);
    Ok.SetDefault(true);
    Ok.SetModalResult(mrOk);
    Cancel.SetText("Cancel");
    Cancel.SetBounds(100, 60, 80, 25);
    Cancel.SetCancel(true);
    Cancel.SetModalResult(mrCancel);
    Other.SetText("&Other");
    Other.SetBounds(190, 60, 80, 25);
  }
  TButton Ok, Cancel, Other;
};

int AnswerAfterKey(TDialogForm& dialog, HWND focus, WPARAM key) {
  TTimer timer;
  timer.SetInterval(50);
  int sent = 0;
  timer.OnTimer = [&] {
    if (sent++ == 0) {
      SetFocus(focus);
      PostMessageW(focus, WM_KEYDOWN, key, 1);
    } else if (sent > 10) {
      dialog.SetModalResult(mrNo);  // nobody took the key
    }
  };
  timer.SetEnabled(true);
  return dialog.ShowModal();
}

TEST(Form, EnterAndEscReachTheDefaultAndCancelButtons) {
  TDialogForm dialog;
  EXPECT_EQ(AnswerAfterKey(dialog, dialog.Other.Handle(), VK_RETURN), mrOk);
  EXPECT_EQ(AnswerAfterKey(dialog, dialog.Other.Handle(), VK_ESCAPE), mrCancel);
}

TEST(Form, AControlThatTakesEnterItselfKeepsIt) {
  TDialogForm dialog;
  HWND memo = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_WANTRETURN,
                              10, 10, 200, 40, dialog.Handle(), nullptr, nullptr, nullptr);
  EXPECT_EQ(AnswerAfterKey(dialog, memo, VK_RETURN), mrNo);
  DestroyWindow(memo);
}

TEST(Notebook, ShowingAnotherPageTakesTheFocusAlong) {
  TKeyForm form;
  form.Show();
  form.Other->SetFocus();
  form.Pages.SetActivePage("Second");
  EXPECT_EQ(form.Pages.PageIndex(), 1);
  EXPECT_FALSE(form.Pages.Page(0).Visible());
  EXPECT_TRUE(form.Hidden->Focused());
  form.Pages.SetPageIndex(0);
  EXPECT_TRUE(form.Go->Focused());
  form.Pages.SetPageIndex(7);  // no such page: nothing changes
  EXPECT_EQ(form.Pages.ActivePage(), "First");
}

TEST(Timer, FiresFromTheLoopOnlyWhileEnabled) {
  TTimer timer;
  int ticks = 0;
  timer.SetInterval(20);
  timer.OnTimer = [&] { ++ticks; };
  timer.SetEnabled(true);
  PumpFor(300);
  timer.SetEnabled(false);
  EXPECT_GE(ticks, 3);
  const int stopped = ticks;
  PumpFor(150);
  EXPECT_EQ(ticks, stopped);
}

TEST(Application, AnExceptionFromAHandlerIsShownAndTheProgramGoesOn) {
  TKeyForm form;
  form.Show();
  form.Go->OnClick = [] { throw std::runtime_error("Registry key vanished"); };
  TMessageBoxCloser closer;
  SendMessageW(form.Go->Handle(), BM_CLICK, 0, 0);
  ASSERT_EQ(closer.Shown.size(), 1u);
  EXPECT_EQ(closer.Shown[0], L"Registry key vanished");
  EXPECT_TRUE(IsWindowVisible(form.Handle()));
}

}  // namespace

namespace {

// A form whose ShortCut throws for F3, with a default button and an accelerator.
class TThrowingForm : public TDialogForm {
 protected:
  bool ShortCut(const MSG& msg) override {
    if (msg.wParam == VK_F3) throw std::runtime_error("From the key preview");
    return false;
  }
};

TEST(Application, AnExceptionFromAHandlerReachedByAKeyIsShownLikeOneFromAClick) {
  struct TCase {
    const char* Name;
    UINT Message;
    WPARAM Key;
  };
  for (const TCase c : {TCase{"accelerator", WM_SYSCHAR, 'o'}, TCase{"Enter", WM_KEYDOWN, VK_RETURN},
                        TCase{"Esc", WM_KEYDOWN, VK_ESCAPE}, TCase{"key preview", WM_KEYDOWN, VK_F3}}) {
    SCOPED_TRACE(c.Name);
    TThrowingForm form;
    form.Show();
    const auto raise = [] { throw std::runtime_error("From the key preview"); };
    form.Ok.OnClick = form.Cancel.OnClick = form.Other.OnClick = raise;
    form.Other.SetFocus();
    TMessageBoxCloser closer;
    PostMessageW(form.Other.Handle(), c.Message, c.Key, c.Message == WM_SYSCHAR ? 0x20000001 : 1);
    PumpFor(400);
    ASSERT_EQ(closer.Shown.size(), 1u);
    EXPECT_EQ(closer.Shown[0], L"From the key preview");
    EXPECT_TRUE(IsWindowVisible(form.Handle()));
  }
}

// A panel that notes when it goes.
class TNotedPanel : public TPanel {
 public:
  TNotedPanel(TWindow* parent, std::string name, std::vector<std::string>& gone)
      : TPanel(parent), FName(std::move(name)), FGone(gone) {}
  ~TNotedPanel() override { FGone.push_back(FName); }

 private:
  std::string FName;
  std::vector<std::string>& FGone;
};

class TOwningForm : public TForm {
 public:
  explicit TOwningForm(std::vector<std::string>& gone) : TForm(L"TOwningForm", FixedDialogStyle) {
    auto& outer = Add<TNotedPanel>(this, "outer", gone);
    auto& inner = Add<TNotedPanel>(&outer, "inner", gone);
    Add<TLabel>(&inner).SetText("on the inner panel");  // window-less: its parent must still be there
    Add<TNotedPanel>(&inner, "innermost", gone);
    Add<TNotedPanel>(this, "beside", gone);
  }
};

TEST(Form, DestroysTheControlsItMadeInReverseOrder) {
  std::vector<std::string> gone;
  { TOwningForm form(gone); }
  EXPECT_EQ(gone, (std::vector<std::string>{"beside", "innermost", "inner", "outer"}));
}

// An owner-drawn platform button that counts the drawings its parent hands it.
class TOwnerDrawn : public TWindow {
 public:
  explicit TOwnerDrawn(TWindow* parent) : TWindow(parent) {
    CreatePlatform(L"BUTTON", WS_VISIBLE | BS_OWNERDRAW, 0);
  }
  int Drawn = 0;
  UINT LastState = 0;

 protected:
  void DrawItem(const DRAWITEMSTRUCT& item) override {
    ++Drawn;
    LastState = item.itemState;
  }
};

TEST(Window, OwnerDrawnChildrenDrawThemselvesEvenWithoutAControlId) {
  TKeyForm form;
  form.Show();
  TOwnerDrawn button(&form.Pages.Page(0));
  button.SetBounds(10, 50, 80, 25);
  SetWindowLongPtrW(button.Handle(), GWLP_ID, 0);
  button.Drawn = 0;
  button.Invalidate();
  UpdateWindow(button.Handle());
  EXPECT_GE(button.Drawn, 1);
  button.SetFocus();
  PumpFor(50);
  EXPECT_TRUE(button.LastState & ODS_FOCUS);
}

}  // namespace
