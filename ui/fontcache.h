#pragma once
// GDI fonts and their metrics by description, for code that switches fonts many times a
// paint (rich text): each look is made once, not once per switch. Bounded, and owned by
// whoever paints, so the fonts go with it.
#include <windows.h>

#include <array>
#include <vector>

#include "ui/font.h"

class TFontCache {
 public:
  // The GDI font for `font`'s description, alive as long as the cache, or until the
  // cache is full and another font is asked for after it.
  HFONT Handle(const TFont& font);
  // The metrics of `font` and the advances of the characters U+0000 to U+00FF, measured
  // once on `dc`.
  struct TMeasures {
    TEXTMETRICW Metrics{};
    std::array<int, 256> Advances{};
  };
  const TMeasures& Measures(HDC dc, const TFont& font);

 private:
  struct TEntry {
    TFont Font;
    bool Measured = false;
    TMeasures Measures;
  };
  TEntry& Find(const TFont& font);

  static constexpr size_t Capacity = 32;
  std::vector<TEntry> FEntries;
  size_t FLast = 0;
};
