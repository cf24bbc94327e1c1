#include "ui/image.h"

TImage::TImage(TWindow* parent, const RECT& bounds) : TGraphicControl(parent) {
  SetBounds(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
}

void TImage::SetPicture(const TBitmap& picture) {
  FPicture = picture.Copy();
  Invalidate();
}

// Centred: a picture made for a smaller scale than the control's keeps its place.
void TImage::Paint(TCanvas& canvas) {
  canvas.Draw((Width() - FPicture.Width()) / 2, (Height() - FPicture.Height()) / 2, FPicture);
}
