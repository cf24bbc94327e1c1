// The artwork at the screen's scale: the drawing itself at 100 % and 200 %, a filtered
// nearest drawing between them, cell by cell.
#include <gtest/gtest.h>

#include "controls/artworkpicture.h"
#include "ui/scaling.h"

namespace {

TEST(ArtworkPicture, TheDrawingNearestTheScaleIsUsed) {
  struct TCase {
    int Dpi;
    bool Double;
  };
  for (const TCase c : {TCase{96, false}, TCase{120, false}, TCase{143, false}, TCase{144, true},
                        TCase{192, true}, TCase{288, true}}) {
    EXPECT_EQ(&NearestTable(Art::Flags, c.Dpi), c.Double ? &Art::Flags.Double : &Art::Flags.Single)
        << c.Dpi;
  }
}

bool SameAsTable(const TBitmap& picture, const TPixelTable& table) {
  if (picture.Width() != table.Width || picture.Height() != table.Height) return false;
  for (int y = 0; y < table.Height; ++y)
    for (int x = 0; x < table.Width; ++x)
      if (picture.Pixel(x, y) != table.Pixel(x, y)) return false;
  return true;
}

TEST(ArtworkPicture, EveryCellTakesItsScaledSize) {
  struct TArt {
    const char* Name;
    const TArtwork& Art;
    int Columns, Rows;
  };
  const TArt arts[] = {{"flags", Art::Flags, 5, 1},       {"check", Art::CheckGlyphs, 4, 3},
                       {"radio", Art::RadioGlyphs, 4, 2}, {"help", Art::HelpStrip, 1, 4},
                       {"close", Art::CloseStrip, 1, 4},  {"error", Art::ErrorIcon, 1, 1},
                       {"hint", Art::HintInfoIcon, 1, 1}};
  for (const int dpi : {96, 120, 144, 192}) {
    const TDpiOverride scale(dpi);
    for (const TArt& a : arts) {
      SCOPED_TRACE(testing::Message() << a.Name << " at " << dpi);
      const TBitmap p = ArtworkPicture(a.Art, a.Columns, a.Rows);
      EXPECT_EQ(p.Width(), a.Columns * Scaled(a.Art.Single.Width / a.Columns));
      EXPECT_EQ(p.Height(), a.Rows * Scaled(a.Art.Single.Height / a.Rows));
      if (dpi == 96) {
        EXPECT_TRUE(SameAsTable(p, a.Art.Single));
      } else if (dpi == 192) {
        EXPECT_TRUE(SameAsTable(p, a.Art.Double));
      }
    }
  }
}

// At 125 % a 13-pixel cell becomes 16 pixels: scaling the sheet as a whole would smear
// each cell's edge into its neighbour's. The unchecked disabled glyph is a grey frame round
// a white face, so its inside stays white however its neighbours look.
TEST(ArtworkPicture, NoCellTakesColourFromItsNeighbour) {
  const TDpiOverride scale(120);
  const TBitmap p = ArtworkPicture(Art::CheckGlyphs, 4, 3);
  const int size = Scaled(13);
  const int left = 3 * size, top = 2 * size;
  for (int y = 3; y < size - 3; ++y)
    for (int x = 3; x < size - 3; ++x)
      EXPECT_EQ(p.Pixel(left + x, top + y), RGB(255, 255, 255)) << x << "," << y;
  // Its grey frame is whole on the side that borders the hot unchecked cell.
  for (int y = 2; y < size - 2; ++y) EXPECT_LT(GetRValue(p.Pixel(left, top + y)), 0xE8) << y;
}

TEST(ArtworkPicture, KeyedPixelsAreSeeThroughAndNoOthers) {
  const TBitmap p = ArtworkPicture(Art::RadioGlyphs, 4, 2, true);
  int keys = 0;
  for (int y = 0; y < p.Height(); ++y)
    for (int x = 0; x < p.Width(); ++x) {
      const bool key = Art::RadioGlyphs.Single.Pixel(x, y) == ArtworkKeyColor;
      keys += key;
      ASSERT_EQ(p.Alpha(x, y), key ? 0 : 255) << x << "," << y;
    }
  EXPECT_GT(keys, 0);
}

}  // namespace
