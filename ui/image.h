#pragma once
// A picture on its parent's background, without a window of its own: soft edges blend
// through the picture's alpha into whatever the parent painted there.
#include <functional>

#include "ui/bitmap.h"
#include "ui/graphiccontrol.h"

class TImage : public TGraphicControl {
 public:
  explicit TImage(TWindow* parent, const RECT& bounds = {});
  void SetPicture(const TBitmap& picture);
  const TBitmap& Picture() const { return FPicture; }

  std::function<void()> OnClick;

 protected:
  void Paint(TCanvas& canvas) override;

 private:
  bool Clickable() const override { return static_cast<bool>(OnClick); }
  void Click() override { OnClick(); }

  TBitmap FPicture;
};
