#pragma once
// A 32-bit top-down DIB section with premultiplied alpha: pictures keep their soft edges
// on any background, and tests can read every pixel back.
#include <windows.h>

#include <cstdint>
#include <utility>

#include "ui/gdiobject.h"

// A Windows colour 0x00BBGGRR as an opaque pixel of a TBitmap.
inline uint32_t OpaquePixel(COLORREF color) {
  return 0xFF000000u | (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
}

class TBitmap {
 public:
  TBitmap() = default;
  TBitmap(int width, int height);  // fully transparent
  TBitmap(TBitmap&& o) noexcept { *this = std::move(o); }
  // The moved-from bitmap is left empty, not pointing into pixels it no longer owns.
  TBitmap& operator=(TBitmap&& o) noexcept {
    FWidth = std::exchange(o.FWidth, 0);
    FHeight = std::exchange(o.FHeight, 0);
    FBits = std::exchange(o.FBits, nullptr);
    FObject = std::move(o.FObject);
    return *this;
  }

  TBitmap Copy() const;
  void SetSize(int width, int height);

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  bool Empty() const { return FBits == nullptr; }
  HBITMAP Handle() const { return static_cast<HBITMAP>(FObject.Get()); }

  // Pixels as 0xAARRGGBB, premultiplied, row by row from the top.
  uint32_t* Bits() { return FBits; }
  const uint32_t* Bits() const { return FBits; }

  COLORREF Pixel(int x, int y) const;
  uint8_t Alpha(int x, int y) const;
  void SetPixel(int x, int y, COLORREF color, uint8_t alpha = 255);
  void Fill(COLORREF color, uint8_t alpha = 255);

  // Blends the picture onto dc with its top-left corner at (x, y).
  void Draw(HDC dc, int x, int y) const;

 private:
  int FWidth = 0;
  int FHeight = 0;
  uint32_t* FBits = nullptr;
  TGdiObject FObject;
};
