#include "ui/image.h"

TImage::TImage(TWindow* parent, const RECT& bounds) : TWindow(parent) {
  CreateOwn(L"TImage", WS_CHILD | WS_VISIBLE, 0, parent->Handle(), 0, bounds);
}

void TImage::SetPicture(const TBitmap& picture) {
  FPicture = picture.Copy();
  Invalidate();
}

// Centred: a picture made for a smaller scale than the window's keeps its place.
void TImage::Paint(TCanvas& canvas) {
  canvas.Draw((Width() - FPicture.Width()) / 2, (Height() - FPicture.Height()) / 2, FPicture);
}
