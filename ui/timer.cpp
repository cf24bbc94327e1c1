#include "ui/timer.h"

namespace {
constexpr UINT_PTR TimerId = 1;
}

TTimer::TTimer() : TWindow(nullptr) { CreateOwn(L"TTimer", 0, 0, HWND_MESSAGE); }

TTimer::~TTimer() { SetEnabled(false); }

void TTimer::SetInterval(UINT ms) {
  FInterval = ms;
  if (FEnabled) SetTimer(Handle(), TimerId, FInterval, nullptr);
}

void TTimer::SetEnabled(bool enabled) {
  FEnabled = enabled;
  if (enabled)
    SetTimer(Handle(), TimerId, FInterval, nullptr);
  else
    KillTimer(Handle(), TimerId);
}

LRESULT TTimer::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER && wp == TimerId) {
    if (FEnabled && OnTimer) OnTimer();
    return 0;
  }
  return TWindow::WndProc(msg, wp, lp);
}
