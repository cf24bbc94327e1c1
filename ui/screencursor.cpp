#include "ui/screencursor.h"

namespace {
HCURSOR GScreenCursor = nullptr;
}

HCURSOR ScreenCursor() { return GScreenCursor; }

void SetScreenCursor(HCURSOR cursor) {
  GScreenCursor = cursor;
  if (cursor) {
    SetCursor(cursor);
    return;
  }
  // The window under the pointer chooses again at once, not at the next move.
  POINT p{};
  if (!GetCursorPos(&p)) return;
  HWND under = WindowFromPoint(p);
  if (!under || GetWindowThreadProcessId(under, nullptr) != GetCurrentThreadId()) return;
  const LRESULT hit = SendMessageW(under, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
  SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
               MAKELPARAM(static_cast<WORD>(hit), WM_MOUSEMOVE));
}
