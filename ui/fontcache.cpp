#include "ui/fontcache.h"

#include "ui/canvas.h"

TFontCache::TEntry& TFontCache::Find(const TFont& font) {
  for (size_t i = 0; i < FEntries.size(); ++i)
    if (FEntries[i].Font.SameGdiFont(font)) return FEntries[FLast = i];
  if (FEntries.size() >= Capacity) {
    // The font handed out last may still be selected into a DC: it stays.
    TEntry kept = std::move(FEntries[FLast]);
    FEntries.clear();
    FEntries.push_back(std::move(kept));
  }
  FEntries.push_back(TEntry{font});
  FLast = FEntries.size() - 1;
  return FEntries.back();
}

HFONT TFontCache::Handle(const TFont& font) { return Find(font).Font.Handle(); }

const TFontCache::TMeasures& TFontCache::Measures(HDC dc, const TFont& font) {
  TEntry& entry = Find(font);
  if (!entry.Measured) {
    TCanvas keep(dc);
    SelectObject(dc, entry.Font.Handle());
    entry.Measured = GetTextMetricsW(dc, &entry.Measures.Metrics) &&
                     GetCharWidth32W(dc, 0, 255, entry.Measures.Advances.data());
  }
  return entry.Measures;
}
