// The theme: pictures from the artwork's tables, built once and freed once.
#include "controls/vexdesign.h"

#include <gtest/gtest.h>

#include "controls/artwork.h"

namespace {

TEST(VexDesign, APictureReadsBackItsTableRowByRowFromTheTop) {
  // Red, green, blue, then three mixed: the bytes of each in the order R, G, B.
  const uint32_t pixels[] = {0x0000FF, 0x00FF00, 0xFF0000, 0x123456, 0xABCDEF, 0x000000};
  const uint8_t rgb[] = {0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0x56, 0x34, 0x12, 0xEF, 0xCD, 0xAB, 0, 0, 0};
  const TPixelTable table{3, 2, rgb};
  for (const TBitmap& picture : {BitmapFromTable(table), BitmapFromTablePixelByPixel(table)}) {
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) {
        EXPECT_EQ(picture.Pixel(x, y), pixels[y * 3 + x]) << x << "," << y;
        EXPECT_EQ(picture.Alpha(x, y), 255);
      }
  }
}

TEST(VexDesign, ImagesAreBuiltOnTheFirstStartAndFreedOnTheMatchingLastEnd) {
  EXPECT_TRUE(DesignButtonSkin().Empty());
  DesignStart();
  const HBITMAP first = DesignButtonSkin().Handle();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(DesignButtonSkin().Width(), 98);
  EXPECT_EQ(DesignInfoIcon().Width(), 39);
  DesignStart();  // builds nothing
  EXPECT_EQ(DesignButtonSkin().Handle(), first);
  DesignEnd();    // not the last end yet
  EXPECT_EQ(DesignButtonSkin().Handle(), first);
  EXPECT_NE(GetObjectType(first), 0u);
  DesignEnd();
  EXPECT_TRUE(DesignButtonSkin().Empty());
  EXPECT_EQ(GetObjectType(first), 0u);  // freed
  DesignEnd();                          // one end too many changes nothing
  DesignStart();
  EXPECT_FALSE(DesignButtonSkin().Empty());
  DesignEnd();
}

TEST(VexDesign, TextsBeforeTheApplicationWritesThem) {
  DesignStart();
  EXPECT_EQ(DesignTrademark + " " + DesignProductName, "Cardmend ");
  EXPECT_EQ(DesignCopyrightSign, "\xC2\xA9");
  DesignEnd();
}

}  // namespace
