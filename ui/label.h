#pragma once
// Static text on its parent's background. Without word wrap it sizes itself to its text;
// with word wrap it breaks lines inside its width.
#include "ui/window.h"

class TLabel : public TWindow {
 public:
  explicit TLabel(TWindow* parent);
  void SetWordWrap(bool on);
  bool WordWrap() const { return FWordWrap; }
  // The rectangle the text takes, measured with the label's font.
  RECT TextRect();

 protected:
  void Paint(TCanvas& canvas) override;
  void TextChanged() override;
  void FontChanged() override;

 private:
  UINT Format() const;
  void AdjustSize();

  bool FWordWrap = false;
};
