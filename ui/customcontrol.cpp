#include "ui/customcontrol.h"

#include <windowsx.h>

TCustomControl::TCustomControl(TWindow* parent, const wchar_t* className, const RECT& bounds,
                               DWORD style)
    : TWindow(parent) {
  CreateOwn(className, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, 0,
            parent ? parent->Handle() : nullptr, CS_DBLCLKS, bounds);
}

LRESULT TCustomControl::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_MOUSEMOVE:
      if (!FMouseInside) {
        FMouseInside = true;
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Handle(), 0};
        TrackMouseEvent(&track);
        MouseEnter();
      }
      MouseMove(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      break;
    case WM_MOUSELEAVE:
      FMouseInside = false;
      MouseLeave();
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lp) == HTCLIENT && reinterpret_cast<HWND>(wp) == Handle()) {
        if (HCURSOR cursor = Cursor()) {
          ::SetCursor(cursor);
          return TRUE;
        }
      }
      break;
  }
  return TWindow::WndProc(msg, wp, lp);
}

void TCustomControl::UpdateCursor() const {
  POINT p{};
  if (!GetCursorPos(&p) || WindowFromPoint(p) != Handle()) return;
  HCURSOR cursor = Cursor();
  ::SetCursor(cursor ? cursor : LoadCursorW(nullptr, IDC_ARROW));
}

void TCustomControl::PaintParentBackground(TCanvas& canvas) {
  TWindow* parent = Parent();
  if (!parent) return;
  const HDC dc = canvas.Handle();
  TCanvas scope(dc);  // puts clip and origin back
  const RECT r = ClientRect();
  IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
  OffsetViewportOrgEx(dc, -Left(), -Top(), nullptr);
  parent->PaintTo(dc);
}
