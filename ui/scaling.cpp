#include "ui/scaling.h"

#include <windows.h>

#include "ui/windowdc.h"

namespace {

int Overridden = 0;

int ReadScreenPixelsPerInch() {
  const TClientDC screen(nullptr);
  const int value = screen.Handle() ? GetDeviceCaps(screen.Handle(), LOGPIXELSY) : 96;
  return value > 0 ? value : 96;
}

}  // namespace

int ScreenPixelsPerInch() {
  if (Overridden) return Overridden;
  static const int ppi = ReadScreenPixelsPerInch();
  return ppi;
}

int Scaled(int pixels) { return MulDiv(pixels, ScreenPixelsPerInch(), 96); }

int Unscaled(int pixels) { return MulDiv(pixels, 96, ScreenPixelsPerInch()); }

TScaledBounds ScaledBounds(int left, int top, int width, int height) {
  const int l = Scaled(left), t = Scaled(top);
  return {l, t, Scaled(left + width) - l, Scaled(top + height) - t};
}

TDpiOverride::TDpiOverride(int dpi) : FSaved(Overridden) { Overridden = dpi; }

TDpiOverride::~TDpiOverride() { Overridden = FSaved; }
