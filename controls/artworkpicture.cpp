#include "controls/artworkpicture.h"

#include "ui/memorydc.h"
#include "ui/resample.h"
#include "ui/scaling.h"

const TPixelTable& NearestTable(const TArtwork& art, int pixelsPerInch) {
  // 150 % lies as near to either drawing; shrinking the big one keeps more of its detail.
  return 2 * pixelsPerInch >= 3 * 96 ? art.Double : art.Single;
}

TBitmap NearestDrawing(const TArtwork& art) {
  return BitmapFromTable(NearestTable(art, ScreenPixelsPerInch()));
}

TBitmap ArtworkPicture(const TArtwork& art, int columns, int rows, bool keyed) {
  const TPixelTable& table = NearestTable(art, ScreenPixelsPerInch());
  TBitmap drawn = BitmapFromTable(table, keyed);
  if (drawn.Empty() || columns <= 0 || rows <= 0) return drawn;
  const int cellWidth = Scaled(art.Single.Width / columns);
  const int cellHeight = Scaled(art.Single.Height / rows);
  const int drawnWidth = table.Width / columns, drawnHeight = table.Height / rows;
  if (cellWidth == drawnWidth && cellHeight == drawnHeight) return drawn;
  TBitmap picture(columns * cellWidth, rows * cellHeight);
  // Cell by cell, so that no cell takes a colour from its neighbour.
  for (int row = 0; row < rows; ++row)
    for (int column = 0; column < columns; ++column)
      ResampleInto(drawn,
                   {column * drawnWidth, row * drawnHeight, (column + 1) * drawnWidth,
                    (row + 1) * drawnHeight},
                   picture,
                   {column * cellWidth, row * cellHeight, (column + 1) * cellWidth,
                    (row + 1) * cellHeight});
  return picture;
}

TBitmap BitmapFromTable(const TPixelTable& table, bool keyed) {
  TBitmap bitmap(table.Width, table.Height);
  if (bitmap.Empty()) return bitmap;
  uint32_t* bits = bitmap.Bits();
  for (int y = 0; y < table.Height; ++y)
    for (int x = 0; x < table.Width; ++x) {
      const uint32_t color = table.Pixel(x, y);
      *bits++ = keyed && color == ArtworkKeyColor ? 0 : OpaquePixel(color);
    }
  return bitmap;
}

TBitmap BitmapFromTablePixelByPixel(const TPixelTable& table) {
  TBitmap bitmap(table.Width, table.Height);
  TMemoryDC dc;
  dc.Select(bitmap.Handle());
  for (int y = 0; y < table.Height; ++y)
    for (int x = 0; x < table.Width; ++x)
      SetPixelV(dc.Handle(), x, y, table.Pixel(x, y));
  GdiFlush();
  // SetPixel leaves the alpha byte at 0: make the picture opaque as the fast build does.
  for (int i = 0; i < table.Width * table.Height; ++i) bitmap.Bits()[i] |= 0xFF000000u;
  return bitmap;
}
