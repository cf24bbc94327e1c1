#include "ui/form.h"

#include <functional>

#include "ui/application.h"

namespace {

// IsWindowVisible also looks at the parents: controls on hidden pages are not collected.
BOOL CALLBACK CollectEnabled(HWND h, LPARAM lp) {
  if (IsWindowVisible(h) && IsWindowEnabled(h))
    reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
  return TRUE;
}

bool WantsChars(HWND h) {
  return h && (SendMessageW(h, WM_GETDLGCODE, 0, 0) & (DLGC_WANTCHARS | DLGC_WANTALLKEYS));
}

bool WantsAllKeys(HWND h) {
  return h && (SendMessageW(h, WM_GETDLGCODE, 0, 0) & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE));
}

}  // namespace

TForm::TForm(const wchar_t* className, DWORD style, DWORD exStyle) : TWindow(nullptr) {
  CreateOwn(className, style, exStyle | WS_EX_CONTROLPARENT, Application().Handle(),
            CS_DBLCLKS);
}

TForm::~TForm() {
  while (!FControls.empty()) FControls.pop_back();
}

void TForm::Show() {
  ShowWindow(Handle(), SW_SHOW);
  UpdateWindow(Handle());
}

void TForm::Close() {
  if (!CloseQuery()) return;
  if (FModal) {
    if (FModalResult == mrNone) FModalResult = mrCancel;
    return;
  }
  ShowWindow(Handle(), SW_HIDE);
  if (FMainForm) Application().Terminate();
}

namespace {

// The program's other windows, disabled while a modal form shows and enabled again on
// every way out, also when an exception leaves the loop; enabled before the modal form
// hides, or Windows activates another program.
class TModalScope {
 public:
  TModalScope(HWND modal, bool& flag) : FModal(modal), FFlag(flag), FPrevious(GetActiveWindow()) {
    EnumThreadWindows(GetCurrentThreadId(), &CollectEnabled, reinterpret_cast<LPARAM>(&FDisabled));
    std::erase(FDisabled, modal);
    for (HWND h : FDisabled) EnableWindow(h, FALSE);
    FFlag = true;
  }
  TModalScope(const TModalScope&) = delete;
  TModalScope& operator=(const TModalScope&) = delete;
  ~TModalScope() {
    for (HWND h : FDisabled)
      if (IsWindow(h)) EnableWindow(h, TRUE);
    if (FPrevious && IsWindow(FPrevious)) SetActiveWindow(FPrevious);
    ShowWindow(FModal, SW_HIDE);
    FFlag = false;
  }

 private:
  HWND FModal;
  bool& FFlag;
  HWND FPrevious;
  std::vector<HWND> FDisabled;
};

}  // namespace

void TForm::SetActiveControl(const TWindow& control) {
  FFocusedChild = control.Handle();
  if (GetActiveWindow() == Handle()) ::SetFocus(FFocusedChild);
}

int TForm::ShowModal() {
  const TModalScope scope(Handle(), FModal);
  FModalResult = mrNone;
  Show();
  while (FModalResult == mrNone) {
    MSG msg;
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      // Someone ended the program: leave the quit for the outer loop as well.
      PostQuitMessage(static_cast<int>(msg.wParam));
      Application().QuitReceived();
      FModalResult = mrCancel;
      break;
    }
    Application().Dispatch(msg);
    if (Application().Terminated() && FModalResult == mrNone) FModalResult = mrCancel;
  }
  return FModalResult;
}

void TForm::CenterOnScreen() {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int w = Width(), h = Height();
  SetWindowPos(Handle(), nullptr, work.left + (work.right - work.left - w) / 2,
               work.top + (work.bottom - work.top - h) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::SetOwner(HWND owner) {
  SetWindowLongPtrW(Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
}

void TForm::SetIcon(int id) {
  // Shared icons belong to the system's cache: nothing to free.
  const auto load = [id](int metric) {
    const int size = GetSystemMetrics(metric);
    return reinterpret_cast<LPARAM>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                               IMAGE_ICON, size, size, LR_SHARED));
  };
  SendMessageW(Handle(), WM_SETICON, ICON_BIG, load(SM_CXICON));
  SendMessageW(Handle(), WM_SETICON, ICON_SMALL, load(SM_CXSMICON));
}

bool TForm::PreTranslate(MSG& msg) {
  switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (ShortCut(msg)) return true;
      if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE) &&
          !WantsAllKeys(msg.hwnd))
        return HandleDialogKey(msg.wParam);
      if (msg.message == WM_KEYDOWN &&
          (msg.wParam == VK_TAB || (msg.wParam >= VK_LEFT && msg.wParam <= VK_DOWN)))
        return IsDialogMessageW(Handle(), &msg) != FALSE;
      return false;
    case WM_SYSCHAR:
      return HandleAccelerator(static_cast<wchar_t>(msg.wParam));
    case WM_CHAR:
      // Like a dialog: a plain letter picks a button unless the focused control types.
      if (msg.wParam < L' ' || WantsChars(msg.hwnd)) return false;
      return HandleAccelerator(static_cast<wchar_t>(msg.wParam));
  }
  return false;
}

bool TForm::OfferToControls(std::function<bool(TWindow&)> take) {
  // Collected first and offered afterwards: a handler may throw, and an exception must not
  // unwind through the enumeration's frames, which are Windows' own.
  std::vector<HWND> children;
  EnumChildWindows(Handle(), &CollectEnabled, reinterpret_cast<LPARAM>(&children));
  for (HWND h : children) {
    // A handler offered the key before may have destroyed or hidden this one.
    if (!IsWindow(h) || !IsWindowVisible(h) || !IsWindowEnabled(h)) continue;
    if (TWindow* window = TWindow::FromHandle(h); window && take(*window)) return true;
  }
  return false;
}

bool TForm::HandleDialogKey(WPARAM key) {
  return OfferToControls([key](TWindow& w) { return w.DialogKey(key); });
}

bool TForm::HandleAccelerator(wchar_t ch) {
  return OfferToControls([ch](TWindow& w) { return w.Accelerator(ch); });
}

LRESULT TForm::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ACTIVATE: {
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(Handle(), focus)) FFocusedChild = focus;
        break;
      }
      const LRESULT result = DefaultProc(msg, wp, lp);
      ActivateChanged(wp, reinterpret_cast<HWND>(lp));
      return result;
    }
    case WM_CLOSE:
      Close();
      return 0;
  }
  return TWindow::WndProc(msg, wp, lp);
}

void TForm::ActivateChanged(WPARAM wp, HWND other) {
  if (HIWORD(wp)) return;  // activated while minimised
  // DefWindowProc gave the focus to the form itself: hand it back to the control.
  if (FFocusedChild && IsWindow(FFocusedChild) && IsChild(Handle(), FFocusedChild))
    ::SetFocus(FFocusedChild);
  DWORD otherProcess = 0;
  if (other) GetWindowThreadProcessId(other, &otherProcess);
  if (!FActivatedOnce || otherProcess == GetCurrentProcessId()) {
    FActivatedOnce = true;
    Activate();
  }
}
