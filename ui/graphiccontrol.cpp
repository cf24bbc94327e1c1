#include "ui/graphiccontrol.h"

#include "ui/scaling.h"
#include "ui/windowdc.h"

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
  if (FParent->Handle()) InvalidateRect(FParent->Handle(), &FBounds, FALSE);
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
  if (FVisible && FParent->Handle()) InvalidateRect(FParent->Handle(), &FBounds, FALSE);
}

void TGraphicControl::PaintTo(HDC dc) {
  TCanvas canvas(dc);
  canvas.FillRect(RECT{0, 0, Width(), Height()}, FParent->Color());
  Paint(canvas);
}

void TGraphicControl::Repaint() {
  PaintNow([this](TCanvas& canvas) { Paint(canvas); });
}

void TGraphicControl::PaintNow(const std::function<void(TCanvas&)>& paint) {
  if (!FVisible || !FParent->Handle() || !IsWindowVisible(FParent->Handle())) return;
  const TClientDC dc(FParent->Handle());
  TCanvas canvas(dc.Handle());
  IntersectClipRect(dc.Handle(), FBounds.left, FBounds.top, FBounds.right, FBounds.bottom);
  OffsetViewportOrgEx(dc.Handle(), FBounds.left, FBounds.top, nullptr);
  paint(canvas);
}

void TGraphicControl::Rescale(int fromDpi, int toDpi) {
  const RECT r = Rescaled(FBounds, fromDpi, toDpi);
  SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
  // After the bounds: a label that sizes itself to its text measures again.
  TFont font = FFont;
  font.SetHeight(TFont::RescaledHeight(font.Height(), fromDpi, toDpi));
  SetFont(font);
  ScaleChanged();
}
