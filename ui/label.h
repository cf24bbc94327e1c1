#pragma once
// Static text on its parent's background, without a window of its own. Without word wrap
// it sizes itself to its text; with word wrap it breaks lines inside its width.
#include <string>

#include "ui/graphiccontrol.h"

class TLabel : public TGraphicControl {
 public:
  explicit TLabel(TWindow* parent) : TGraphicControl(parent) {}

  void SetText(const std::string& text);
  const std::string& Text() const { return FText; }
  void SetWordWrap(bool on);
  bool WordWrap() const { return FWordWrap; }
  // The rectangle the text takes, measured with the label's font.
  RECT TextRect() const;

 protected:
  void Paint(TCanvas& canvas) override;
  void FontChanged() override;

 private:
  UINT Format() const;
  void AdjustSize();

  std::string FText;
  bool FWordWrap = false;
};
