#include "ui/image.h"

TImage::TImage(TWindow* parent, const RECT& bounds) : TWindow(parent) {
  CreateOwn(L"TImage", WS_CHILD | WS_VISIBLE, 0, parent->Handle(), 0, bounds);
}

void TImage::SetPicture(const TBitmap& picture) {
  FPicture = picture.Copy();
  Invalidate();
}

void TImage::Paint(TCanvas& canvas) { canvas.Draw(0, 0, FPicture); }
