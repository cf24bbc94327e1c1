#include "ui/imagelist.h"

#include <algorithm>

int TImageList::Add(TBitmap picture) {
  if (picture.Width() != FWidth || picture.Height() != FHeight) return -1;
  FPictures.push_back(std::move(picture));
  return Count() - 1;
}

void TImageList::AddStrip(const TBitmap& strip) {
  if (strip.Empty() || strip.Height() != FHeight || strip.Width() % FWidth != 0) return;
  for (int left = 0; left < strip.Width(); left += FWidth) {
    TBitmap picture(FWidth, FHeight);
    for (int y = 0; y < FHeight; ++y)
      std::copy_n(strip.Bits() + y * strip.Width() + left, FWidth, picture.Bits() + y * FWidth);
    FPictures.push_back(std::move(picture));
  }
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index) const {
  if (index >= 0 && index < Count()) canvas.Draw(x, y, FPictures[static_cast<size_t>(index)]);
}

bool TImageList::GetBitmap(int index, TBitmap& target) const {
  if (index < 0 || index >= Count()) return false;
  target = FPictures[static_cast<size_t>(index)].Copy();
  return true;
}
