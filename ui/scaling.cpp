#include "ui/scaling.h"

#include <windows.h>

#include "sysutil/systemlibrary.h"
#include "ui/windowdc.h"

namespace {

// 0 until the screen is first asked.
int Current = 0;
int Overrides = 0;

// Newer than the headers this program is built with: Windows 10.
using TGetDpiForWindow = UINT(WINAPI*)(HWND);
using TGetThreadDpiAwarenessContext = void*(WINAPI*)();
using TGetAwarenessFromDpiAwarenessContext = int(WINAPI*)(void*);
constexpr int PerMonitorAwareness = 2;  // DPI_AWARENESS_PER_MONITOR_AWARE

int ReadScreenPixelsPerInch() {
  const TClientDC screen(nullptr);
  const int value = screen.Handle() ? GetDeviceCaps(screen.Handle(), LOGPIXELSY) : 96;
  return value > 0 ? value : 96;
}

}  // namespace

int ScreenPixelsPerInch() {
  if (!Current) Current = ReadScreenPixelsPerInch();
  return Current;
}

void SetScreenPixelsPerInch(int dpi) {
  if (dpi > 0) Current = dpi;
}

bool PerMonitorAware() {
  static const auto context = LoadedFunction<TGetThreadDpiAwarenessContext>(
      L"user32.dll", "GetThreadDpiAwarenessContext");
  static const auto awareness = LoadedFunction<TGetAwarenessFromDpiAwarenessContext>(
      L"user32.dll", "GetAwarenessFromDpiAwarenessContext");
  return context && awareness && awareness(context()) == PerMonitorAwareness;
}

int WindowPixelsPerInch(HWND window) {
  static const auto dpiOf = LoadedFunction<TGetDpiForWindow>(L"user32.dll", "GetDpiForWindow");
  if (Overrides == 0 && dpiOf && PerMonitorAware())
    if (const auto dpi = static_cast<int>(dpiOf(window)); dpi > 0) return dpi;
  return ScreenPixelsPerInch();
}

int Rescaled(int pixels, int fromDpi, int toDpi) {
  if (fromDpi <= 0 || toDpi <= 0) return pixels;
  return MulDiv(MulDiv(pixels, 96, fromDpi), toDpi, 96);
}

int Scaled(int pixels) { return MulDiv(pixels, ScreenPixelsPerInch(), 96); }

int Unscaled(int pixels) { return MulDiv(pixels, 96, ScreenPixelsPerInch()); }

TScaledBounds ScaledBounds(int left, int top, int width, int height) {
  const int l = Scaled(left), t = Scaled(top);
  return {l, t, Scaled(left + width) - l, Scaled(top + height) - t};
}

RECT Rescaled(const RECT& r, int fromDpi, int toDpi) {
  return {Rescaled(r.left, fromDpi, toDpi), Rescaled(r.top, fromDpi, toDpi),
          Rescaled(r.right, fromDpi, toDpi), Rescaled(r.bottom, fromDpi, toDpi)};
}

TDpiOverride::TDpiOverride(int dpi) : FSaved(Current) {
  Current = dpi;
  ++Overrides;
}

TDpiOverride::~TDpiOverride() {
  Current = FSaved;
  --Overrides;
}
