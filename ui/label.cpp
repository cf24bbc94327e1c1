#include "ui/label.h"

#include "ui/memorydc.h"

void TLabel::SetText(const std::string& text) {
  // The progress page's last steps repeat their line: nothing to measure or paint again.
  if (text == FText) return;
  FText = text;
  AdjustSize();
  Invalidate();
}

void TLabel::SetWordWrap(bool on) {
  FWordWrap = on;
  AdjustSize();
  Invalidate();
}

UINT TLabel::Format() const {
  return DT_NOPREFIX | DT_LEFT | DT_TOP | (FWordWrap ? DT_WORDBREAK : DT_SINGLELINE);
}

RECT TLabel::TextRect() const {
  RECT r{0, 0, FWordWrap ? Width() : 0, 0};
  TMemoryDC dc;
  TCanvas canvas(dc.Handle());
  canvas.SetFont(Font());
  canvas.DrawText(r, FText, Format() | DT_CALCRECT);
  return r;
}

void TLabel::Paint(TCanvas& canvas) {
  RECT r{0, 0, Width(), Height()};
  canvas.SetFont(Font());
  canvas.DrawText(r, FText, Format());
}

void TLabel::FontChanged() {
  AdjustSize();
  Invalidate();
}

void TLabel::AdjustSize() {
  if (FWordWrap) return;
  const RECT r = TextRect();
  SetBounds(Left(), Top(), r.right, r.bottom);
}
