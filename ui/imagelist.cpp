#include "ui/imagelist.h"

int TImageList::Add(TBitmap picture) {
  if (picture.Width() != FWidth || picture.Height() != FHeight) return -1;
  FPictures.push_back(std::move(picture));
  return Count() - 1;
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index) const {
  if (index >= 0 && index < Count()) canvas.Draw(x, y, FPictures[static_cast<size_t>(index)]);
}

bool TImageList::GetBitmap(int index, TBitmap& target) const {
  if (index < 0 || index >= Count()) return false;
  target = FPictures[static_cast<size_t>(index)].Copy();
  return true;
}
