#include "ui/panel.h"

#include "ui/windowdc.h"

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
      const TWindowDC dc(Handle());
      PaintFrame(dc.Handle());
      return 0;
    }
    if (msg == WM_PRINT) {
      Print(reinterpret_cast<HDC>(wp), static_cast<DWORD>(lp));
      return 0;
    }
  }
  return TWindow::WndProc(msg, wp, lp);
}

void TPanel::PaintFrame(HDC dc) {
  TCanvas canvas(dc);
  canvas.FrameRect(RECT{0, 0, Width(), Height()}, FFrameColor);
}

// DefWindowProc would print a frame of its own making: print ours, then the client area
// inside it.
void TPanel::Print(HDC dc, DWORD flags) {
  if (flags & PRF_NONCLIENT) PaintFrame(dc);
  if (flags & PRF_CLIENT) {
    const TCanvas inside(dc);  // puts the origin back when done
    OffsetViewportOrgEx(dc, 1, 1, nullptr);
    PaintTo(dc);
  }
}
