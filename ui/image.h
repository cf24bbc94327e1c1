#pragma once
// A picture on its parent's background; soft edges blend through the picture's alpha.
#include "ui/bitmap.h"
#include "ui/window.h"

class TImage : public TWindow {
 public:
  explicit TImage(TWindow* parent, const RECT& bounds = {});
  void SetPicture(const TBitmap& picture);
  const TBitmap& Picture() const { return FPicture; }

 protected:
  void Paint(TCanvas& canvas) override;

 private:
  TBitmap FPicture;
};
