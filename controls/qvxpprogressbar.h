#pragma once
// The wizard's progress bar: a rounded frame of grey lines and a fill of ten horizontal
// bands in green, blue or red. Window-less; setters paint at once.
#include <windows.h>

#include <array>
#include <cstdint>

#include "ui/graphiccontrol.h"

class TQvXPProgressBar : public TGraphicControl {
 public:
  explicit TQvXPProgressBar(TWindow* parent);

  uint16_t Max() const { return FMax; }
  // 0 becomes 1; a position above the new maximum comes down to it.
  void SetMax(uint16_t max);
  uint16_t Position() const { return FPosition; }
  // Clamped to Max. Going back repaints the whole bar; going on paints only the fill.
  void SetPosition(uint16_t position);
  void StepIt() { SetPosition(static_cast<uint16_t>(FPosition + 1)); }
  COLORREF BorderColor() const { return FBorderColor; }
  void SetBorderColor(COLORREF color);
  // 0xFF0000 chooses the blue palette, 0x0000FF the red one, anything else the green one.
  COLORREF ProgressColor() const { return FProgressColor; }
  void SetProgressColor(COLORREF color);
  COLORREF Color() const { return FColor; }
  void SetColor(COLORREF color);

  using TPalette = std::array<COLORREF, 10>;
  const TPalette& Palette() const { return *FPalette; }

 protected:
  void Paint(TCanvas& canvas) override;

 private:
  void PaintFill(TCanvas& canvas) const;

  uint16_t FMax = 100;
  uint16_t FPosition = 0;
  COLORREF FBorderColor = RGB(255, 255, 255);
  COLORREF FProgressColor = RGB(0, 128, 0);
  COLORREF FColor = RGB(255, 255, 255);
  const TPalette* FPalette;
};
