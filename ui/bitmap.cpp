#include "ui/bitmap.h"

#include <algorithm>
#include <cstring>

#include "sysutil/systemlibrary.h"
#include "ui/memorydc.h"

namespace {

using TAlphaBlend = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);

TAlphaBlend AlphaBlendFunction() {
  static const TModule library = LoadSystemLibrary("msimg32.dll");
  static const auto function = ModuleFunction<TAlphaBlend>(library.Get(), "AlphaBlend");
  return function;
}

uint32_t Premultiplied(COLORREF color, uint8_t alpha) {
  auto scale = [alpha](unsigned c) { return (c * alpha + 127) / 255; };
  return (uint32_t{alpha} << 24) | (scale(GetRValue(color)) << 16) |
         (scale(GetGValue(color)) << 8) | scale(GetBValue(color));
}

}  // namespace

TBitmap::TBitmap(int width, int height) { SetSize(width, height); }

void TBitmap::SetSize(int width, int height) {
  FObject.Reset();
  FBits = nullptr;
  FWidth = FHeight = 0;
  if (width <= 0 || height <= 0) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP h = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!h) return;
  FObject.Reset(h);
  FBits = static_cast<uint32_t*>(bits);
  FWidth = width;
  FHeight = height;
  std::memset(FBits, 0, static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
}

TBitmap TBitmap::Copy() const {
  TBitmap copy(FWidth, FHeight);
  if (!Empty() && !copy.Empty())
    std::memcpy(copy.FBits, FBits, static_cast<size_t>(FWidth) * static_cast<size_t>(FHeight) * 4);
  return copy;
}

COLORREF TBitmap::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return CLR_INVALID;
  const uint32_t p = FBits[y * FWidth + x];
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

uint8_t TBitmap::Alpha(int x, int y) const {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return 0;
  return static_cast<uint8_t>(FBits[y * FWidth + x] >> 24);
}

void TBitmap::SetPixel(int x, int y, COLORREF color, uint8_t alpha) {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return;
  FBits[y * FWidth + x] = Premultiplied(color, alpha);
}

void TBitmap::Fill(COLORREF color, uint8_t alpha) {
  if (Empty()) return;
  std::fill_n(FBits, FWidth * FHeight, Premultiplied(color, alpha));
}

void TBitmap::Draw(HDC dc, int x, int y) const {
  const TAlphaBlend alphaBlend = AlphaBlendFunction();
  if (Empty() || !alphaBlend) return;
  // GDI may still be writing into the section through another DC.
  GdiFlush();
  TMemoryDC source(dc);
  source.Select(Handle());
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  alphaBlend(dc, x, y, FWidth, FHeight, source.Handle(), 0, 0, FWidth, FHeight, blend);
}
