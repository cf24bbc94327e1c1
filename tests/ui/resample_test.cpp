// The area-averaging filter that brings the artwork to scales between its drawings.
#include <gtest/gtest.h>

#include <cstdint>

#include "ui/bitmap.h"
#include "ui/resample.h"

namespace {

// A picture whose pixels vary in every channel, alpha included, premultiplied.
TBitmap Pattern(int width, int height) {
  TBitmap p(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      p.SetPixel(x, y, RGB((x * 37 + y * 11) % 256, (x * 5 + y * 71) % 256, (x * y * 13) % 256),
                 static_cast<uint8_t>(255 - (x + y) % 3 * 60));
  return p;
}

double Mean(const TBitmap& p, int shift) {
  double sum = 0;
  for (int i = 0; i < p.Width() * p.Height(); ++i) sum += (p.Bits()[i] >> shift) & 0xFF;
  return sum / (p.Width() * p.Height());
}

TEST(Resample, KeepsEachChannelsMeanAtEveryRatio) {
  struct TCase {
    int Width, Height, ToWidth, ToHeight;
  };
  for (const TCase c : {TCase{16, 16, 20, 20}, TCase{26, 26, 20, 20}, TCase{13, 13, 16, 16},
                        TCase{50, 25, 38, 19}, TCase{32, 32, 32, 32}, TCase{7, 5, 3, 2}}) {
    SCOPED_TRACE(testing::Message() << c.Width << "x" << c.Height << " -> " << c.ToWidth << "x"
                                    << c.ToHeight);
    const TBitmap source = Pattern(c.Width, c.Height);
    const TBitmap target = Resampled(source, c.ToWidth, c.ToHeight);
    ASSERT_EQ(target.Width(), c.ToWidth);
    for (const int shift : {0, 8, 16, 24})
      EXPECT_NEAR(Mean(target, shift), Mean(source, shift), 0.6) << shift;
  }
}

TEST(Resample, TheSameSizeCopiesAndOneColourStaysThatColour) {
  const TBitmap source = Pattern(9, 7);
  const TBitmap same = Resampled(source, 9, 7);
  for (int i = 0; i < 9 * 7; ++i) ASSERT_EQ(same.Bits()[i], source.Bits()[i]) << i;

  TBitmap plain(13, 13);
  plain.Fill(RGB(0x1C, 0x51, 0x80), 200);
  for (const int size : {16, 19, 26, 10}) {
    const TBitmap scaled = Resampled(plain, size, size);
    for (int i = 0; i < size * size; ++i) ASSERT_EQ(scaled.Bits()[i], plain.Bits()[0]) << size;
  }
}

// Halving averages each 2 x 2 block exactly; a see-through pixel lowers alpha and colour
// alike, as premultiplied pixels must.
TEST(Resample, HalvingAveragesBlocksAndBlendsSeeThroughPixels) {
  TBitmap source(4, 2);
  source.SetPixel(0, 0, RGB(0, 0, 0));
  source.SetPixel(1, 0, RGB(255, 255, 255));
  source.SetPixel(0, 1, RGB(255, 255, 255));
  source.SetPixel(1, 1, RGB(0, 0, 0));
  source.SetPixel(2, 0, RGB(255, 0, 0));
  source.SetPixel(3, 0, RGB(255, 0, 0));
  // (2, 1) and (3, 1) stay see-through.
  const TBitmap half = Resampled(source, 2, 1);
  EXPECT_EQ(half.Pixel(0, 0), RGB(128, 128, 128));
  EXPECT_EQ(half.Alpha(0, 0), 255);
  EXPECT_EQ(half.Alpha(1, 0), 128);
  EXPECT_EQ(half.Pixel(1, 0), RGB(128, 0, 0));  // premultiplied: full red at half alpha
}

TEST(Resample, WritesOnlyTheTargetRectangleFromOnlyTheSourcePart) {
  TBitmap source(4, 4);
  source.Fill(RGB(255, 0, 0));
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 2; ++x) source.SetPixel(x, y, RGB(0, 0, 255));
  TBitmap target(10, 10);
  target.Fill(RGB(0, 255, 0));
  ResampleInto(source, {0, 0, 2, 4}, target, {3, 3, 6, 8});
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) {
      const bool inside = x >= 3 && x < 6 && y >= 3 && y < 8;
      ASSERT_EQ(target.Pixel(x, y), inside ? RGB(0, 0, 255) : RGB(0, 255, 0)) << x << "," << y;
    }
  // A part or a place outside the pictures changes nothing.
  ResampleInto(source, {2, 2, 6, 4}, target, {0, 0, 2, 2});
  ResampleInto(source, {0, 0, 2, 2}, target, {8, 8, 12, 12});
  EXPECT_EQ(target.Pixel(0, 0), RGB(0, 255, 0));
  EXPECT_EQ(target.Pixel(9, 9), RGB(0, 255, 0));
}

}  // namespace
