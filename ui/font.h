#pragma once
// A font as a description (face, height, style, colour) with the GDI font made on first
// use. Copies share that font until one of them changes its description: a window copies
// its parent's font, and one GDI font serves them all.
#include <windows.h>

#include <memory>
#include <string>
#include <string_view>

#include "ui/gdiobject.h"
#include "ui/scaling.h"

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4 };
using TFontStyles = unsigned;

class TFont {
 public:
  TFont() = default;
  TFont(std::string name, int height) : FName(std::move(name)), FHeight(height) {}

  // The height of a font of `points` at the screen's scale, rounded as Windows sizes its
  // own: 8 points are 11 pixels at 96 DPI, 13 at 120, 16 at 144, 21 at 192.
  static int PointsHeight(int points) { return -MulDiv(points, ScreenPixelsPerInch(), 72); }
  // A height laid out at `fromDpi`, at `toDpi`: the same points, rounded there.
  static int RescaledHeight(int height, int fromDpi, int toDpi);

  const std::string& Name() const { return FName; }
  int Height() const { return FHeight; }
  // Points at the screen's resolution, as the height gives them.
  int Size() const;
  TFontStyles Style() const { return FStyle; }
  bool Bold() const { return FStyle & fsBold; }
  bool Italic() const { return FStyle & fsItalic; }
  bool Underline() const { return FStyle & fsUnderline; }
  // Angle of the base line in tenths of a degree, counter-clockwise.
  int Orientation() const { return FOrientation; }
  COLORREF Color() const { return FColor; }

  void SetName(std::string name);
  void SetHeight(int height);
  void SetSize(int points);
  void SetStyle(TFontStyles style);
  void SetBold(bool on) { SetStyleBit(fsBold, on); }
  void SetItalic(bool on) { SetStyleBit(fsItalic, on); }
  void SetUnderline(bool on) { SetStyleBit(fsUnderline, on); }
  void SetOrientation(int tenths);
  // The colour is not part of the GDI font: the canvas sets it as text colour.
  void SetColor(COLORREF color) { FColor = color; }

  // Whether the face is `name`, in any case of its ASCII letters.
  bool IsFace(std::string_view name) const;
  // True when both make the same GDI font; the colour does not count.
  bool SameGdiFont(const TFont& other) const;
  HFONT Handle() const;

 private:
  void SetStyleBit(TFontStyle bit, bool on) { SetStyle(on ? FStyle | bit : FStyle & ~bit); }
  void Changed() { FObject.reset(); }

  std::string FName = "Tahoma";
  int FHeight = PointsHeight(8);  // Tahoma's 8 points
  TFontStyles FStyle = 0;
  int FOrientation = 0;
  COLORREF FColor = RGB(0, 0, 0);
  mutable std::shared_ptr<TGdiObject> FObject;
};
