#pragma once
// The display's resolution, and the layout's 96-DPI figures scaled to it: every position,
// size, margin and pixel font height of a window is given as at 96 DPI (100 %) and scaled
// once, when the window is laid out. At 96 DPI nothing changes.

// Pixels per logical inch of the screen, read once.
int ScreenPixelsPerInch();
// `pixels` at 96 DPI, scaled to the screen's resolution and rounded as MulDiv rounds.
int Scaled(int pixels);
// Screen pixels back at 96 DPI.
int Unscaled(int pixels);

// A 96-DPI rectangle with each edge scaled, as Windows maps dialog units: neighbours that
// touch at 96 DPI touch at every scale, and none overlaps through rounding.
struct TScaledBounds {
  int Left, Top, Width, Height;
};
TScaledBounds ScaledBounds(int left, int top, int width, int height);

// Sets a control's bounds from a 96-DPI rectangle.
template <typename C>
void SetScaledBounds(C& control, int left, int top, int width, int height) {
  const TScaledBounds b = ScaledBounds(left, top, width, height);
  control.SetBounds(b.Left, b.Top, b.Width, b.Height);
}

// For tests: while it lives, the screen reads `dpi` pixels per inch; overrides nest.
class TDpiOverride {
 public:
  explicit TDpiOverride(int dpi);
  TDpiOverride(const TDpiOverride&) = delete;
  TDpiOverride& operator=(const TDpiOverride&) = delete;
  ~TDpiOverride();

 private:
  int FSaved;
};
