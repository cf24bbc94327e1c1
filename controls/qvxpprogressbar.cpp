#include "controls/qvxpprogressbar.h"

#include <algorithm>
#include <cmath>

#include "ui/gdiobject.h"

namespace {

constexpr TQvXPProgressBar::TPalette Green = {
    RGB(173, 239, 173), RGB(148, 235, 148), RGB(123, 231, 123), RGB(74, 219, 82),
    RGB(49, 215, 57),   RGB(41, 211, 49),   RGB(66, 215, 66),   RGB(90, 223, 90),
    RGB(115, 227, 115), RGB(140, 235, 140)};
constexpr TQvXPProgressBar::TPalette Blue = {
    RGB(178, 205, 236), RGB(148, 186, 228), RGB(123, 169, 221), RGB(72, 136, 208),
    RGB(58, 127, 204),  RGB(50, 116, 190),  RGB(70, 135, 208),  RGB(91, 148, 213),
    RGB(116, 165, 220), RGB(148, 186, 228)};
constexpr TQvXPProgressBar::TPalette Red = {
    RGB(239, 173, 173), RGB(235, 148, 148), RGB(231, 123, 123), RGB(219, 74, 82),
    RGB(215, 49, 57),   RGB(211, 41, 49),   RGB(215, 66, 66),   RGB(223, 90, 90),
    RGB(227, 115, 115), RGB(235, 140, 140)};

constexpr COLORREF BluePalette = 0xFF0000;
constexpr COLORREF RedPalette = 0x0000FF;

// Border colour and grey 107 mixed in the given parts, then darkened by 30.
COLORREF Shade(COLORREF border, int borderParts) {
  const auto mix = [borderParts](int c) {
    return std::max(0, (borderParts * c + (3 - borderParts) * 107) / 3 - 30);
  };
  return RGB(mix(GetRValue(border)), mix(GetGValue(border)), mix(GetBValue(border)));
}

void Pixels(HDC dc, COLORREF color, std::initializer_list<POINT> points) {
  for (const POINT& p : points) SetPixelV(dc, p.x, p.y, color);
}

// A pen line or polyline: each segment stops short of its end point.
void Lines(HDC dc, COLORREF color, std::initializer_list<POINT> points) {
  TPen pen(color);
  const HGDIOBJ old = SelectObject(dc, pen.Handle());
  Polyline(dc, points.begin(), static_cast<int>(points.size()));
  SelectObject(dc, old);
}

}  // namespace

TQvXPProgressBar::TQvXPProgressBar(TWindow* parent) : TGraphicControl(parent), FPalette(&Green) {
  SetBounds(0, 0, 200, 16);
}

void TQvXPProgressBar::SetMax(uint16_t max) {
  FMax = std::max<uint16_t>(max, 1);
  FPosition = std::min(FPosition, FMax);
  Repaint();
}

void TQvXPProgressBar::SetPosition(uint16_t position) {
  const uint16_t old = FPosition;
  FPosition = std::min(position, FMax);
  if (FPosition < old)
    Repaint();
  else if (FPosition != old)
    PaintNow([this](TCanvas& canvas) { PaintFill(canvas); });
}

void TQvXPProgressBar::SetBorderColor(COLORREF color) {
  FBorderColor = color;
  Repaint();
}

void TQvXPProgressBar::SetProgressColor(COLORREF color) {
  FProgressColor = color;
  FPalette = color == BluePalette ? &Blue : color == RedPalette ? &Red : &Green;
  Repaint();
}

void TQvXPProgressBar::SetColor(COLORREF color) {
  FColor = color;
  Repaint();
}

void TQvXPProgressBar::Paint(TCanvas& canvas) {
  const HDC dc = canvas.Handle();
  const int w = Width(), h = Height();
  canvas.FillRect({0, 0, w, h}, FColor);
  Pixels(dc, FBorderColor, {{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}});
  Pixels(dc, Shade(FBorderColor, 2),
         {{1, 0}, {0, 1}, {0, h - 2}, {1, h - 1}, {w - 1, 1}, {w - 2, 0}, {w - 1, h - 2},
          {w - 2, h - 1}});
  Pixels(dc, Shade(FBorderColor, 1),
         {{2, 0}, {1, 1}, {0, 2}, {0, h - 3}, {1, h - 2}, {2, h - 1}, {w - 1, 2}, {w - 2, 1},
          {w - 3, 0}, {w - 1, h - 3}, {w - 2, h - 2}, {w - 3, h - 1}});
  const COLORREF outer = RGB(107, 107, 107);
  Lines(dc, outer, {{3, 0}, {w - 3, 0}});
  Lines(dc, outer, {{3, h - 1}, {w - 3, h - 1}});
  Lines(dc, outer, {{0, 3}, {0, h - 3}});
  Lines(dc, outer, {{w - 1, 3}, {w - 1, h - 3}});
  Lines(dc, RGB(190, 190, 190),
        {{2, 1}, {w - 3, 1}, {w - 3, 2}, {w - 2, 2}, {w - 2, h - 3}, {w - 3, h - 3},
         {w - 3, h - 2}, {2, h - 2}, {2, h - 3}, {1, h - 3}, {1, 2}, {2, 2}, {2, 1}});
  Lines(dc, RGB(239, 239, 239),
        {{3, 2}, {w - 4, 2}, {w - 4, 3}, {w - 3, 3}, {w - 3, h - 4}, {w - 4, h - 4},
         {w - 4, h - 3}, {3, h - 3}, {3, h - 4}, {2, h - 4}, {2, 3}, {3, 3}, {3, 2}});
  PaintFill(canvas);
}

// Ten bands from top to bottom over the rows inside the frame; the fill never erases.
void TQvXPProgressBar::PaintFill(TCanvas& canvas) const {
  const int rows = Height() - 6;
  if (rows < 1) return;
  // Halves go to the even neighbour, as the default rounding mode does.
  const int end = static_cast<int>(std::nearbyint(double(FPosition) * (Width() - 8) / FMax)) + 4;
  for (int c = 0; c < rows; ++c)
    Lines(canvas.Handle(), (*FPalette)[static_cast<size_t>(std::min(c * 10 / rows, 9))],
          {{4, c + 3}, {end, c + 3}});
}
