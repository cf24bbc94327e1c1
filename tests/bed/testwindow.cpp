#include "tests/bed/testwindow.h"

namespace {

const wchar_t* WindowClass() {
  static const wchar_t* const name = [] {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"CardmendTestWindow";
    RegisterClassW(&windowClass);
    return windowClass.lpszClassName;
  }();
  return name;
}

}  // namespace

TTestWindow::TTestWindow()
    : FHandle(CreateWindowExW(0, WindowClass(), L"Cardmend test", WS_OVERLAPPEDWINDOW, 50, 50,
                              300, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr)) {}

TTestWindow::~TTestWindow() { DestroyWindow(FHandle); }
