#include "ui/label.h"

TLabel::TLabel(TWindow* parent) : TWindow(parent) {
  CreateOwn(L"TLabel", WS_CHILD | WS_VISIBLE, 0, parent->Handle());
}

void TLabel::SetWordWrap(bool on) {
  FWordWrap = on;
  AdjustSize();
  Invalidate();
}

UINT TLabel::Format() const {
  return DT_NOPREFIX | DT_LEFT | DT_TOP | (FWordWrap ? DT_WORDBREAK : DT_SINGLELINE);
}

RECT TLabel::TextRect() {
  HDC dc = GetDC(Handle());
  RECT r{0, 0, FWordWrap ? Width() : 0, 0};
  {
    TCanvas canvas(dc);
    canvas.SetFont(Font());
    canvas.DrawText(r, Text(), Format() | DT_CALCRECT);
  }
  ReleaseDC(Handle(), dc);
  return r;
}

void TLabel::Paint(TCanvas& canvas) {
  RECT r = ClientRect();
  canvas.SetFont(Font());
  canvas.DrawText(r, Text(), Format());
}

void TLabel::TextChanged() {
  AdjustSize();
  Invalidate();
}

void TLabel::FontChanged() {
  AdjustSize();
  Invalidate();
}

void TLabel::AdjustSize() {
  if (FWordWrap) return;
  const RECT r = TextRect();
  SetWindowPos(Handle(), nullptr, 0, 0, r.right, r.bottom,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
