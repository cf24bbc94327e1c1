#pragma once
// Pictures of one size, addressed by index.
#include <vector>

#include "ui/bitmap.h"
#include "ui/canvas.h"

class TImageList {
 public:
  TImageList(int width, int height) : FWidth(width), FHeight(height) {}

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  int Count() const { return static_cast<int>(FPictures.size()); }

  // Takes a picture of the list's size; returns its index, or -1 for a wrong size.
  int Add(TBitmap picture);
  // Cuts a strip of pictures side by side into pictures of the list's size and adds them
  // from the left; a strip of another height, or a width that is not a multiple, adds none.
  void AddStrip(const TBitmap& strip);
  void Draw(TCanvas& canvas, int x, int y, int index) const;
  // Copies picture index into target, resizing it; false for an index outside the list.
  bool GetBitmap(int index, TBitmap& target) const;

 private:
  int FWidth;
  int FHeight;
  std::vector<TBitmap> FPictures;
};
