#include "ui/graphiccontrol.h"

#include "ui/window.h"

TGraphicControl::TGraphicControl(TWindow* parent) : FParent(parent), FFont(parent->Font()) {
  FParent->AddGraphic(this);
}

TGraphicControl::~TGraphicControl() {
  Invalidate();
  FParent->RemoveGraphic(this);
}

void TGraphicControl::SetBounds(int left, int top, int width, int height) {
  Invalidate();
  FBounds = RECT{left, top, left + width, top + height};
  Invalidate();
}

void TGraphicControl::SetVisible(bool visible) {
  if (visible == FVisible) return;
  FVisible = visible;
  InvalidateRect(FParent->Handle(), &FBounds, FALSE);
}

void TGraphicControl::SetFont(const TFont& font) {
  FFont = font;
  FontChanged();
}

void TGraphicControl::SetFontColor(COLORREF color) {
  FFont.SetColor(color);
  Invalidate();
}

void TGraphicControl::Invalidate() {
  if (FVisible) InvalidateRect(FParent->Handle(), &FBounds, FALSE);
}

void TGraphicControl::PaintTo(HDC dc) {
  TCanvas canvas(dc);
  canvas.FillRect(RECT{0, 0, Width(), Height()}, FParent->Color());
  Paint(canvas);
}
