// The start page's requirement marks, read back pixel by pixel and drawn through GDI.
#include "app/wizard/requirementmarks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "ui/canvas.h"

namespace {

std::vector<TBitmap> Marks(int size) {
  TImageList list(size, size);
  AddRequirementMarks(list);
  std::vector<TBitmap> marks;
  for (int i = 0; i < list.Count(); ++i) {
    TBitmap picture;
    list.GetBitmap(i, picture);
    marks.push_back(std::move(picture));
  }
  return marks;
}

struct TRgb {
  int R, G, B;
};

TRgb Rgb(COLORREF c) { return {GetRValue(c), GetGValue(c), GetBValue(c)}; }
double Luminance(TRgb c) { return 0.299 * c.R + 0.587 * c.G + 0.114 * c.B; }

// What a premultiplied pixel looks like over an opaque background.
TRgb Over(const TBitmap& picture, int x, int y, TRgb below) {
  const uint32_t p = picture.Bits()[y * picture.Width() + x];
  const int a = static_cast<int>(p >> 24);
  auto mix = [a](uint32_t top, int bottom) { return static_cast<int>(top) + (bottom * (255 - a) + 127) / 255; };
  return {mix((p >> 16) & 0xFF, below.R), mix((p >> 8) & 0xFF, below.G), mix(p & 0xFF, below.B)};
}

enum TLook { lkClear, lkSoft, lkGreen, lkRed, lkBlue, lkWhite };

const char* LookName(TLook look) {
  switch (look) {
    case lkClear: return "clear";
    case lkSoft: return "soft edge";
    case lkGreen: return "green";
    case lkRed: return "red";
    case lkBlue: return "blue";
    case lkWhite: return "white";
  }
  return "?";
}

bool Looks(const TBitmap& picture, int x, int y, TLook look) {
  const uint8_t alpha = picture.Alpha(x, y);
  const TRgb c = Rgb(picture.Pixel(x, y));
  switch (look) {
    case lkClear: return alpha == 0;
    case lkSoft: return alpha > 0 && alpha < 255;
    case lkGreen: return alpha == 255 && c.G > c.R + 60 && c.G > c.B + 60;
    case lkRed: return alpha == 255 && c.R > c.G + 80 && c.R > c.B + 80;
    case lkBlue: return alpha == 255 && c.B > c.R + 80 && c.B > c.G + 40;
    case lkWhite: return alpha == 255 && c.R >= 235 && c.G >= 235 && c.B >= 235;
  }
  return false;
}

TEST(RequirementMarks, ShowTheirSymbolOnTheirDisc) {
  struct TCase {
    TRequirementMark Mark;
    int X, Y;
    TLook Look;
  };
  const TCase cases[] = {
      {rmMet, 0, 0, lkClear},     {rmMet, 15, 0, lkClear},    {rmMet, 0, 15, lkClear},
      {rmMet, 15, 15, lkClear},   {rmMet, 8, 0, lkSoft},      {rmMet, 0, 7, lkSoft},
      {rmMet, 2, 2, lkSoft},      {rmMet, 13, 13, lkSoft},
      {rmMet, 11, 11, lkGreen},   {rmMet, 4, 11, lkGreen},    {rmMet, 8, 3, lkGreen},
      // the cross's arms cross the tick's empty corners
      {rmMet, 5, 5, lkGreen},     {rmMet, 10, 10, lkGreen},
      // the tick's low vertex and its long arm
      {rmMet, 6, 10, lkWhite},    {rmMet, 9, 8, lkWhite},     {rmMet, 5, 9, lkWhite},

      {rmNotMet, 0, 0, lkClear},  {rmNotMet, 15, 0, lkClear}, {rmNotMet, 0, 15, lkClear},
      {rmNotMet, 15, 15, lkClear}, {rmNotMet, 8, 15, lkSoft}, {rmNotMet, 15, 8, lkSoft},
      {rmNotMet, 8, 3, lkRed},    {rmNotMet, 3, 8, lkRed},    {rmNotMet, 8, 12, lkRed},
      {rmNotMet, 12, 8, lkRed},
      // the centre and all four arms
      {rmNotMet, 7, 7, lkWhite},  {rmNotMet, 8, 8, lkWhite},  {rmNotMet, 5, 5, lkWhite},
      {rmNotMet, 10, 10, lkWhite}, {rmNotMet, 10, 5, lkWhite}, {rmNotMet, 5, 10, lkWhite},

      {rmAwaiting, 0, 0, lkClear}, {rmAwaiting, 15, 15, lkClear}, {rmAwaiting, 8, 15, lkSoft},
      {rmAwaiting, 4, 8, lkBlue},  {rmAwaiting, 11, 8, lkBlue},   {rmAwaiting, 8, 13, lkBlue},
      // between the dot and the stem
      {rmAwaiting, 8, 6, lkBlue},
      // the dot and the stem
      {rmAwaiting, 8, 4, lkWhite}, {rmAwaiting, 8, 8, lkWhite},   {rmAwaiting, 8, 10, lkWhite},
  };
  const std::vector<TBitmap> marks = Marks(16);
  ASSERT_EQ(marks.size(), 3u);
  for (const auto& c : cases)
    EXPECT_TRUE(Looks(marks[c.Mark], c.X, c.Y, c.Look))
        << "mark " << c.Mark << " at (" << c.X << ", " << c.Y << ") should be " << LookName(c.Look)
        << ": alpha " << int{marks[c.Mark].Alpha(c.X, c.Y)} << ", colour 0x" << std::hex
        << marks[c.Mark].Pixel(c.X, c.Y);
}

// The disc fills the square and nothing else: clear outside its circle, opaque well inside,
// soft on the edge, and never a colour brighter than its own coverage.
TEST(RequirementMarks, AreSoftEdgedDiscsAtAnySize) {
  for (int size : {16, 24, 32}) {
    const std::vector<TBitmap> marks = Marks(size);
    ASSERT_EQ(marks.size(), 3u) << size;
    const double centre = size / 2.0, radius = size * 7.5 / 16;
    for (size_t m = 0; m < marks.size(); ++m) {
      const TBitmap& mark = marks[m];
      ASSERT_EQ(mark.Width(), size);
      ASSERT_EQ(mark.Height(), size);
      bool soft = false;
      for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
          const std::string where = "mark " + std::to_string(m) + " at " + std::to_string(size) + " px (" +
                                    std::to_string(x) + ", " + std::to_string(y) + ")";
          // Nearest and farthest points of the pixel square from the centre.
          auto axis = [centre](int i, bool outer) {
            const double lo = i - centre, hi = i + 1 - centre;
            if (outer) return std::max(std::abs(lo), std::abs(hi));
            return lo > 0 ? lo : hi < 0 ? -hi : 0.0;
          };
          const double nearest = std::hypot(axis(x, false), axis(y, false));
          const double farthest = std::hypot(axis(x, true), axis(y, true));
          const uint8_t alpha = mark.Alpha(x, y);
          const TRgb c = Rgb(mark.Pixel(x, y));
          if (nearest >= radius) {
            EXPECT_EQ(alpha, 0) << where;
          }
          if (farthest <= radius - 0.5) {
            EXPECT_EQ(alpha, 255) << where;
          }
          EXPECT_LE(c.R, alpha) << where;
          EXPECT_LE(c.G, alpha) << where;
          EXPECT_LE(c.B, alpha) << where;
          soft = soft || (alpha > 0 && alpha < 255);
        }
      EXPECT_TRUE(soft) << "mark " << m << " at " << size << " px has a hard edge";
    }
    const auto pixels = [size](const TBitmap& mark) {
      return std::vector<uint32_t>(mark.Bits(), mark.Bits() + size * size);
    };
    EXPECT_NE(pixels(marks[0]), pixels(marks[1]));
    EXPECT_NE(pixels(marks[1]), pixels(marks[2]));
    EXPECT_NE(pixels(marks[0]), pixels(marks[2]));
  }
}

// Drawn by the image list onto a page's usual backgrounds: the disc stands out from the
// page, the symbol from the disc, and its strokes fade into the disc instead of stepping.
TEST(RequirementMarks, StandOutOnLightBackgrounds) {
  struct TCase {
    TRequirementMark Mark;
    int SymbolX, SymbolY, DiscX, DiscY;
  };
  const TCase cases[] = {
      {rmMet, 6, 10, 11, 11},
      {rmNotMet, 8, 8, 8, 12},
      {rmAwaiting, 8, 9, 11, 11},
  };
  const COLORREF backgrounds[] = {RGB(255, 255, 255), RGB(236, 233, 216), RGB(212, 208, 200)};
  TImageList list(16, 16);
  AddRequirementMarks(list);
  for (COLORREF background : backgrounds)
    for (const auto& c : cases) {
      TBitmap page(16, 16);
      page.Fill(background);
      {
        TBitmapCanvas canvas(page);
        list.Draw(canvas.Canvas(), 0, 0, c.Mark);
      }
      GdiFlush();
      std::ostringstream named;
      named << "mark " << c.Mark << " on 0x" << std::hex << background;
      const std::string where = named.str();
      TBitmap mark;
      ASSERT_TRUE(list.GetBitmap(c.Mark, mark));
      const double page_light = Luminance(Rgb(background));
      // The rim, in the middle of each side.
      for (auto [x, y] : {std::pair{8, 1}, {1, 8}, {8, 14}, {14, 8}})
        EXPECT_GT(page_light - Luminance(Rgb(page.Pixel(x, y))), 80) << where << " rim " << x << "," << y;
      const double symbol = Luminance(Rgb(page.Pixel(c.SymbolX, c.SymbolY)));
      const double disc = Luminance(Rgb(page.Pixel(c.DiscX, c.DiscY)));
      EXPECT_GT(symbol - disc, 100) << where;
      // Below the gloss, where the disc is opaque, only the symbol's edges can be lighter
      // than the disc yet not white.
      bool between = false;
      for (int y = 8; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
          const double light = Luminance(Rgb(page.Pixel(x, y)));
          between = between || (mark.Alpha(x, y) == 255 && light > disc + 50 && light < symbol - 30);
        }
      EXPECT_TRUE(between) << where << ": the symbol's edges step from disc to white";
    }
}

// Not a check: with CARDMEND_MARKS_PREVIEW naming a file, writes the marks at 1, 2 and 8
// times their size over white, the XP dialog colour and classic grey as a 24-bit BMP.
TEST(RequirementMarks, Preview) {
  wchar_t path[MAX_PATH] = {};
  if (!GetEnvironmentVariableW(L"CARDMEND_MARKS_PREVIEW", path, MAX_PATH)) GTEST_SKIP();
  const std::vector<TBitmap> marks = Marks(16);
  const TRgb backgrounds[] = {{255, 255, 255}, {236, 233, 216}, {212, 208, 200}};
  const int scales[] = {1, 2, 8};
  constexpr int Gap = 8, Band = 16 * 8 + 2 * Gap;
  int width = Gap;
  for (int s : scales) width += static_cast<int>(marks.size()) * (16 * s + Gap);
  const int height = Band * 3;
  const int stride = (width * 3 + 3) & ~3;
  std::vector<uint8_t> rows(static_cast<size_t>(stride) * height);
  for (int band = 0; band < 3; ++band) {
    const TRgb bg = backgrounds[band];
    for (int y = 0; y < Band; ++y)
      for (int x = 0; x < width; ++x) {
        uint8_t* px = &rows[static_cast<size_t>(height - 1 - (band * Band + y)) * stride + x * 3];
        px[0] = static_cast<uint8_t>(bg.B), px[1] = static_cast<uint8_t>(bg.G), px[2] = static_cast<uint8_t>(bg.R);
      }
    int left = Gap;
    for (int s : scales)
      for (const TBitmap& mark : marks) {
        for (int y = 0; y < 16 * s; ++y)
          for (int x = 0; x < 16 * s; ++x) {
            const TRgb c = Over(mark, x / s, y / s, bg);
            uint8_t* px =
                &rows[static_cast<size_t>(height - 1 - (band * Band + Gap + y)) * stride + (left + x) * 3];
            px[0] = static_cast<uint8_t>(c.B), px[1] = static_cast<uint8_t>(c.G), px[2] = static_cast<uint8_t>(c.R);
          }
        left += 16 * s + Gap;
      }
  }
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = static_cast<DWORD>(file.bfOffBits + rows.size());
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof(file));
  out.write(reinterpret_cast<const char*>(&info), sizeof(info));
  out.write(reinterpret_cast<const char*>(rows.data()), static_cast<std::streamsize>(rows.size()));
  EXPECT_TRUE(out.good());
}

}  // namespace
