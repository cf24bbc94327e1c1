#include "ui/panel.h"

TPanel::TPanel(TWindow* parent) : TPanel(parent, L"TPanel") {}

TPanel::TPanel(TWindow* parent, const wchar_t* className) : TWindow(parent) {
  CreateOwn(className, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
            WS_EX_CONTROLPARENT, parent->Handle());
}

void TPanel::SetFrameColor(COLORREF color) {
  FFramed = true;
  FFrameColor = color;
  // Let Windows ask for the client area again.
  SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

LRESULT TPanel::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (FFramed) {
    if (msg == WM_NCCALCSIZE) {
      auto* r = reinterpret_cast<RECT*>(lp);  // first rectangle in both forms
      InflateRect(r, -1, -1);
      return 0;
    }
    if (msg == WM_NCPAINT) {
      PaintFrame();
      return 0;
    }
  }
  return TWindow::WndProc(msg, wp, lp);
}

void TPanel::PaintFrame() {
  HDC dc = GetWindowDC(Handle());
  RECT r{0, 0, Width(), Height()};
  {
    TCanvas canvas(dc);
    canvas.FrameRect(r, FFrameColor);
  }
  ReleaseDC(Handle(), dc);
}
