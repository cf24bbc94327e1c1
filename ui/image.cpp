#include "ui/image.h"

TImage::TImage(TWindow* parent) : TWindow(parent) {
  CreateOwn(L"TImage", WS_CHILD | WS_VISIBLE, 0, parent->Handle());
}

void TImage::SetPicture(const TBitmap& picture) {
  FPicture = picture.Copy();
  Invalidate();
}

void TImage::Paint(TCanvas& canvas) { canvas.Draw(0, 0, FPicture); }
