#pragma once
// Pictures made from the artwork's pixel tables, at the screen's scale: a cell is drawn
// from the drawing nearest that scale (the 200 % one from 150 % on) and brought to its size
// with the area-averaging filter; at 100 % and 200 % no cell is filtered at all.
#include "controls/artwork.h"
#include "ui/bitmap.h"

// The radio glyphs' key colour (pure red), which marks pixels that show what lies below.
constexpr uint32_t ArtworkKeyColor = 0x0000FF;

// The drawing of `art` to use at `pixelsPerInch`.
const TPixelTable& NearestTable(const TArtwork& art, int pixelsPerInch);
// The drawing of `art` nearest the screen's scale, as it is drawn: for a picture whose
// parts are put together at the drawing's own scale before fitting (the button skin).
TBitmap NearestDrawing(const TArtwork& art);
// `art` cut into columns x rows cells, each at its 100 % size scaled to the screen's;
// `keyed`: key-coloured pixels are see-through.
TBitmap ArtworkPicture(const TArtwork& art, int columns = 1, int rows = 1, bool keyed = false);

// An opaque picture of a pixel table, filled in one pass; `keyed` as above.
TBitmap BitmapFromTable(const TPixelTable& table, bool keyed = false);
// The same picture set pixel by pixel, the slow way; kept for the benchmark's comparison.
TBitmap BitmapFromTablePixelByPixel(const TPixelTable& table);
