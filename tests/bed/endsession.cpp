#include "tests/bed/endsession.h"

TEndSessionWatcher::TEndSessionWatcher(bool refuse) : FRefuse(refuse) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = &Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"CardmendEndSessionWatcher";
  RegisterClassW(&wc);
  FHandle = CreateWindowExW(0, wc.lpszClassName, L"Unsaved work", WS_OVERLAPPEDWINDOW, 0, 0,
                            200, 100, nullptr, nullptr, wc.hInstance, this);
  ShowWindow(FHandle, SW_SHOWNOACTIVATE);
}

TEndSessionWatcher::~TEndSessionWatcher() { DestroyWindow(FHandle); }

void TEndSessionWatcher::Pump(DWORD ms) {
  const DWORD start = GetTickCount();
  for (DWORD elapsed = 0; elapsed < ms; elapsed = GetTickCount() - start) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
}

LRESULT CALLBACK TEndSessionWatcher::Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE)
    SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(
                                            reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
  auto* self = reinterpret_cast<TEndSessionWatcher*>(GetWindowLongPtrW(h, GWLP_USERDATA));
  if (self && msg == WM_QUERYENDSESSION) {
    ++self->FQueries;
    return self->FRefuse ? FALSE : TRUE;
  }
  return DefWindowProcW(h, msg, wp, lp);
}
