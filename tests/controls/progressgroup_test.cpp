// The progress bar and the group box, by their pixels.
#include <gtest/gtest.h>

#include <string>

#include "controls/qvgroupbox.h"
#include "controls/qvxpprogressbar.h"
#include "tests/bed/controlpictures.h"
#include "ui/form.h"
#include "ui/windowdc.h"

namespace {

constexpr COLORREF White = RGB(255, 255, 255);

struct TPixel {
  int X, Y;
  COLORREF Color;
};

TEST(QvXPProgressBar, FrameCornersShadesAndLines) {
  struct TCase {
    COLORREF Border, Shade1, Shade2;
  };
  for (const TCase c : {TCase{White, RGB(175, 175, 175), RGB(126, 126, 126)},
                        TCase{RGB(200, 100, 0), RGB(139, 72, 5), RGB(108, 74, 41)}}) {
    SCOPED_TRACE(c.Border);
    TControlTestForm form;
    TQvXPProgressBar bar(&form);
    bar.SetBounds(0, 0, 20, 16);
    bar.SetBorderColor(c.Border);
    const TBitmap p = Picture(bar);
    const COLORREF g107 = RGB(107, 107, 107), g190 = RGB(190, 190, 190), g239 = RGB(239, 239, 239);
    for (const TPixel& px : {TPixel{0, 0, c.Border}, {19, 0, c.Border}, {0, 15, c.Border},
                             {19, 15, c.Border}, {1, 0, c.Shade1}, {0, 1, c.Shade1},
                             {0, 14, c.Shade1}, {1, 15, c.Shade1}, {19, 1, c.Shade1},
                             {18, 0, c.Shade1}, {19, 14, c.Shade1}, {18, 15, c.Shade1},
                             {2, 0, c.Shade2}, {1, 1, c.Shade2}, {0, 2, c.Shade2},
                             {17, 0, c.Shade2}, {18, 1, c.Shade2}, {19, 2, c.Shade2},
                             {2, 15, c.Shade2}, {17, 15, c.Shade2}, {3, 0, g107},
                             {16, 0, g107}, {3, 15, g107}, {0, 3, g107}, {0, 12, g107},
                             {19, 3, g107}, {19, 12, g107}, {2, 1, g190}, {16, 1, g190},
                             {17, 2, g190}, {18, 2, g190}, {18, 12, g190}, {1, 2, g190},
                             {2, 14, g190}, {3, 2, g239}, {16, 3, g239}, {17, 3, g239},
                             {2, 11, g239}, {3, 12, g239}, {4, 4, White}}) {
      EXPECT_EQ(p.Pixel(px.X, px.Y), px.Color) << "at " << px.X << "," << px.Y;
    }
  }
}

TEST(QvXPProgressBar, TenRowsOfFillWithBandCOnRowC) {
  TControlTestForm form;
  TQvXPProgressBar bar(&form);
  bar.SetBounds(0, 0, 100, 16);
  bar.SetMax(25);
  bar.SetPosition(25);
  const TBitmap p = Picture(bar);
  for (int c = 0; c < 10; ++c) {
    EXPECT_EQ(p.Pixel(4, 3 + c), bar.Palette()[static_cast<size_t>(c)]) << "row " << c;
    EXPECT_EQ(p.Pixel(95, 3 + c), bar.Palette()[static_cast<size_t>(c)]) << "row " << c;
    EXPECT_NE(p.Pixel(96, 3 + c), bar.Palette()[static_cast<size_t>(c)]) << "row " << c;
  }
  EXPECT_EQ(p.Pixel(4, 13), RGB(239, 239, 239));
}

TEST(QvXPProgressBar, LowBarShowsItsFrameButNoFill) {
  TControlTestForm form;
  TQvXPProgressBar bar(&form);
  bar.SetBounds(0, 0, 60, 6);
  bar.SetPosition(100);
  const TBitmap p = Picture(bar);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 60; ++x)
      for (COLORREF band : bar.Palette()) ASSERT_NE(p.Pixel(x, y), band) << x << "," << y;
  EXPECT_EQ(p.Pixel(3, 0), RGB(107, 107, 107));
}

TEST(QvXPProgressBar, FillEndsAtTheRoundedColumnHalvesToEven) {
  struct TCase {
    uint16_t Position;
    int End;  // first column not filled
  };
  // Width 108: 100 columns of range; Max 200 makes every position half a column.
  for (const TCase c : {TCase{1, 4}, TCase{3, 6}, TCase{5, 6}, TCase{7, 8}, TCase{200, 104}}) {
    SCOPED_TRACE(c.Position);
    TControlTestForm form;
    TQvXPProgressBar bar(&form);
    bar.SetBounds(0, 0, 108, 16);
    bar.SetMax(200);
    bar.SetPosition(c.Position);
    const TBitmap p = Picture(bar);
    const COLORREF band = bar.Palette()[0];
    if (c.End > 4) {
      EXPECT_EQ(p.Pixel(c.End - 1, 3), band);
    }
    EXPECT_NE(p.Pixel(c.End, 3), band);
  }
}

TEST(QvXPProgressBar, ProgressColourChoosesThePalette) {
  struct TCase {
    COLORREF Progress, Band0;
  };
  for (const TCase c : {TCase{0xFF0000, RGB(178, 205, 236)}, TCase{0xFE0000, RGB(173, 239, 173)},
                        TCase{0x0000FF, RGB(239, 173, 173)}, TCase{0x008000, RGB(173, 239, 173)}}) {
    TControlTestForm form;
    TQvXPProgressBar bar(&form);
    bar.SetProgressColor(c.Progress);
    bar.SetPosition(100);
    EXPECT_EQ(Picture(bar).Pixel(10, 3), c.Band0) << std::hex << c.Progress;
  }
}

TEST(QvXPProgressBar, RangeRules) {
  TControlTestForm form;
  TQvXPProgressBar bar(&form);
  bar.SetMax(0);
  EXPECT_EQ(bar.Max(), 1);
  bar.SetMax(25);
  bar.SetPosition(30);
  EXPECT_EQ(bar.Position(), 25);
  bar.SetMax(10);
  EXPECT_EQ(bar.Position(), 10);
}

TEST(QvXPProgressBar, SettersPaintAtOnceAndOnlyGoingBackRepaintsTheFrame) {
  TControlTestForm form;
  TQvXPProgressBar bar(&form);
  bar.SetBounds(10, 10, 200, 16);
  bar.SetMax(10);
  PumpFor(100);
  const TClientDC dc(form.Handle());
  const COLORREF band = bar.Palette()[5];
  // A mark on the frame: painting only the fill leaves it, a whole repaint removes it.
  const auto mark = [&] { SetPixelV(dc.Handle(), 10 + 3, 10, RGB(255, 0, 0)); };
  mark();
  bar.SetPosition(8);
  EXPECT_EQ(GetPixel(dc.Handle(), 10 + 100, 10 + 8), band);
  EXPECT_EQ(GetPixel(dc.Handle(), 10 + 3, 10), RGB(255, 0, 0));
  bar.SetPosition(2);
  EXPECT_EQ(GetPixel(dc.Handle(), 10 + 100, 10 + 8), White);
  EXPECT_EQ(GetPixel(dc.Handle(), 10 + 3, 10), RGB(107, 107, 107));
}

TEST(QVGroupBox, FrameWithCutCornersAndTheCaptionOverItsTopLine) {
  for (const std::string caption : {"", " Installation "}) {
    SCOPED_TRACE(caption);
    TControlTestForm form;
    TQVGroupBox box(&form);
    box.SetBounds(0, 0, 200, 80);
    box.SetColor(White);
    box.SetText(caption);
    const TBitmap p = Picture(box);
    const COLORREF frame = box.Rahmenfarbe();
    const int h = [&] {
      TMemoryDC dc;
      TCanvas canvas(dc.Handle());
      canvas.SetFont(box.Font());
      return static_cast<int>(canvas.TextExtent("0").cy);
    }();
    const int t = h / 2 - 1, r = 199, b = 79;
    for (const TPixel& px :
         {TPixel{0, t + 2, frame}, {1, t + 2, frame}, {1, t + 1, frame}, {2, t + 1, frame},
          {2, t, frame}, {r - 2, t, frame}, {r - 1, t + 1, frame}, {r, t + 2, frame},
          {r, b - 2, frame}, {r - 1, b - 1, frame}, {r - 2, b, frame}, {2, b, frame},
          {1, b - 1, frame}, {0, b - 2, frame}, {0, t, White}, {1, t, White}, {0, t + 1, White},
          {r, t, White}, {r, b, White}, {0, b, White}, {7, t, frame}, {5, 40, White}}) {
      EXPECT_EQ(p.Pixel(px.X, px.Y), px.Color) << "at " << px.X << "," << px.Y;
    }
    int hidden = 0;
    for (int x = 8; x < 150; ++x) hidden += p.Pixel(x, t) != frame;
    if (caption.empty()) {
      EXPECT_EQ(hidden, 0);
    } else {
      EXPECT_GT(hidden, 40);                  // the caption's width
      EXPECT_NE(p.Pixel(8, t), frame);        // from x = 8 on
      EXPECT_EQ(p.Pixel(8 + hidden, t), frame);  // and the line goes on after it
    }
  }
}

}  // namespace
