#include "ui/form.h"

#include <functional>

#include "sysutil/scopeexit.h"
#include "sysutil/systemlibrary.h"
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

// Newer than the headers this program is built with: Windows 8.1 and 10.
constexpr UINT WmDpiChanged = 0x02E0;
using TAdjustWindowRectExForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

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
  AdoptDisplayScale();
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
  // Its scale ends with it: the forms below it may lie on another display.
  const int scale = ScreenPixelsPerInch();
  const TScopeExit restoreScale([scale] { SetScreenPixelsPerInch(scale); });
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
    case WmDpiChanged:
      ChangeScale(HIWORD(wp), reinterpret_cast<const RECT*>(lp));
      return 0;
  }
  return TWindow::WndProc(msg, wp, lp);
}

void TForm::ChangeScale(int dpi, const RECT* suggested) {
  const int from = FPixelsPerInch;
  if (dpi <= 0 || dpi == from) return;
  FPixelsPerInch = dpi;
  SetScreenPixelsPerInch(dpi);
  // The client area scaled as its contents will be, in a frame as Windows draws it there.
  const RECT client = ClientRect();
  const int width = Rescaled(client.right, from, dpi), height = Rescaled(client.bottom, from, dpi);
  RECT frame{0, 0, width, height};
  const auto style = static_cast<DWORD>(GetWindowLongW(Handle(), GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongW(Handle(), GWL_EXSTYLE));
  static const auto adjust =
      LoadedFunction<TAdjustWindowRectExForDpi>(L"user32.dll", "AdjustWindowRectExForDpi");
  const auto dpiValue = static_cast<UINT>(dpi);
  if (!adjust || !PerMonitorAware() || !adjust(&frame, style, FALSE, exStyle, dpiValue))
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  const int left = suggested ? suggested->left : Left(), top = suggested ? suggested->top : Top();
  const int frameWidth = frame.right - frame.left, frameHeight = frame.bottom - frame.top;
  SetWindowPos(Handle(), nullptr, left, top, frameWidth, frameHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  // Wine answers for a frame drawn at that scale but draws it at the system's: what the
  // client area came out as tells.
  const RECT got = ClientRect();
  if (got.right != width || got.bottom != height)
    SetWindowPos(Handle(), nullptr, 0, 0, frameWidth + width - got.right,
                 frameHeight + height - got.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Rescale(from, dpi);
}

void TForm::AdoptDisplayScale() {
  const int dpi = WindowPixelsPerInch(Handle());
  if (dpi != FPixelsPerInch) ChangeScale(dpi, nullptr);
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
