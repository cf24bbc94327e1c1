#pragma once
// The display's resolution, and the layout's 96-DPI figures scaled to it: every position,
// size, margin and pixel font height of a window is given as at 96 DPI (100 %) and scaled
// once, when the window is laid out. At 96 DPI nothing changes.
#include <windows.h>

// Pixels per logical inch of the screen, read once; then the scale the program's windows
// are laid out at.
int ScreenPixelsPerInch();
// Lays out at `dpi` from now on: a window that Windows moved to a display of another scale.
void SetScreenPixelsPerInch(int dpi);
// Whether Windows leaves the scale of each display to the program's windows (Windows 10
// with the manifest's per-monitor awareness); else one scale holds for every window.
bool PerMonitorAware();
// The scale of the display `window` shows on where each display has its own; else, and
// while a TDpiOverride lives, the screen's.
int WindowPixelsPerInch(HWND window);
// A length laid out at `fromDpi`, laid out at `toDpi`: taken back to its 96-DPI figure and
// scaled again, so that what Scaled made at one scale becomes what it makes at the other.
int Rescaled(int pixels, int fromDpi, int toDpi);
// A rectangle so, edge by edge.
RECT Rescaled(const RECT& r, int fromDpi, int toDpi);
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

// For tests: while it lives, the screen reads `dpi` pixels per inch; overrides nest, and
// the scale before it comes back when it ends.
class TDpiOverride {
 public:
  explicit TDpiOverride(int dpi);
  TDpiOverride(const TDpiOverride&) = delete;
  TDpiOverride& operator=(const TDpiOverride&) = delete;
  ~TDpiOverride();

 private:
  int FSaved;
};
