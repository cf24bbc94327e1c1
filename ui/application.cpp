#include "ui/application.h"

#include "sysutil/textconv.h"
#include "ui/window.h"

namespace {

class TApplicationWindow : public TWindow {
 public:
  TApplicationWindow() : TWindow(nullptr) {
    CreateOwn(L"TApplication", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
              WS_EX_TOOLWINDOW, nullptr);
  }
};

bool IsKeyMessage(UINT msg) {
  return msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN || msg == WM_CHAR || msg == WM_SYSCHAR;
}

}  // namespace

TApplication& Application() {
  static TApplication application;
  return application;
}

TApplication::TApplication() : FWindow(std::make_unique<TApplicationWindow>()) {
  TWindow::SetExceptionHandler([](std::exception_ptr error) { Application().HandleException(error); });
}

TApplication::~TApplication() = default;

HWND TApplication::Handle() const { return FWindow->Handle(); }

void TApplication::SetTitle(const std::string& title) { FWindow->SetText(title); }

std::string TApplication::Title() const { return FWindow->Text(); }

void TApplication::Run() {
  while (!FTerminated) {
    MSG msg;
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      FTerminated = true;
      break;
    }
    Dispatch(msg);
  }
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      FTerminated = true;
      // Leave it for the outermost loop too.
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    Dispatch(msg);
  }
}

void TApplication::Dispatch(MSG& msg) {
  // Keys reach handlers from here, before any window procedure; they end where an
  // exception from a click ends, and never unwind through the enumeration callbacks.
  try {
    if (IsKeyMessage(msg.message)) {
      TWindow* root = TWindow::FromHandle(GetAncestor(msg.hwnd, GA_ROOT));
      if (root && root->PreTranslate(msg)) return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  } catch (...) {
    HandleException(std::current_exception());
  }
}

void TApplication::HandleException(std::exception_ptr error) {
  std::string text = "Unknown error";
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    text = e.what();
  } catch (...) {
  }
  MessageBoxW(nullptr, Widen(text).c_str(), Widen(Title()).c_str(), MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

void TApplication::Terminate() {
  if (FTerminated) return;
  FTerminated = true;
  PostQuitMessage(0);
}
