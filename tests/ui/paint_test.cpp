// Painting through the real paint routines into 32-bit pictures, read back pixel by pixel.
#include <gtest/gtest.h>

#include "tests/bed/uitest.h"
#include "ui/canvas.h"
#include "ui/form.h"
#include "ui/image.h"
#include "ui/imagelist.h"
#include "ui/label.h"
#include "ui/panel.h"

namespace {

constexpr COLORREF Background = RGB(0x20, 0x40, 0x60);

class TPlainForm : public TForm {
 public:
  TPlainForm() : TForm(L"TPlainForm", FixedDialogStyle) {
    SetClientSize(400, 300);
    SetColor(Background);
  }
};

bool IsText(COLORREF c) { return GetRValue(c) > 0xA0 && GetGValue(c) > 0xA0; }

TEST(Bitmap, BlendsSoftPixelsOverWhatIsBelow) {
  TBitmap target(2, 1);
  target.Fill(RGB(255, 255, 255));
  TBitmap picture(2, 1);
  picture.SetPixel(0, 0, RGB(255, 0, 0), 255);
  picture.SetPixel(1, 0, RGB(255, 0, 0), 128);
  {
    TBitmapCanvas canvas(target);
    canvas.Canvas().Draw(0, 0, picture);
  }
  GdiFlush();
  EXPECT_EQ(target.Pixel(0, 0), RGB(255, 0, 0));
  const COLORREF half = target.Pixel(1, 0);
  EXPECT_EQ(GetRValue(half), 255);
  EXPECT_NEAR(GetGValue(half), 127, 2);
}

TEST(Canvas, PutsBackWhatItSelected) {
  TBitmap target(4, 4);
  TMemoryDC dc;
  dc.Select(target.Handle());
  HGDIOBJ before = GetCurrentObject(dc.Handle(), OBJ_FONT);
  TFont font("Tahoma", -20);
  {
    TCanvas canvas(dc.Handle());
    canvas.SetFont(font);
    EXPECT_EQ(GetCurrentObject(dc.Handle(), OBJ_FONT), font.Handle());
  }
  EXPECT_EQ(GetCurrentObject(dc.Handle(), OBJ_FONT), before);
}

TEST(Label, TextStaysInsideItsMeasuredRectangleOnTheParentsBackground) {
  TPlainForm form;
  TLabel label(&form);
  label.SetFontColor(RGB(0xFF, 0xFF, 0xFF));
  label.SetBounds(10, 10, 0, 0);
  label.SetText("Smart Card Resource Manager");
  const RECT text = label.TextRect();
  EXPECT_EQ(label.Width(), text.right);  // sized to its text
  EXPECT_EQ(label.Height(), text.bottom);

  TBitmap picture(label.Width() + 10, label.Height() + 10);
  {
    TBitmapCanvas canvas(picture);
    label.PaintTo(canvas.Canvas().Handle());
  }
  GdiFlush();
  int inside = 0, outside = 0;
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x) {
      const bool in = x < text.right && y < text.bottom;
      if (IsText(picture.Pixel(x, y))) (in ? inside : outside)++;
    }
  EXPECT_GT(inside, 20);
  EXPECT_EQ(outside, 0);
  EXPECT_EQ(picture.Pixel(0, 0), Background);
}

// Labels have no window: the parent paints them, at their place and only while visible.
TEST(Label, IsPaintedByItsParentAtItsBoundsWhileVisible) {
  TPlainForm form;
  TPanel panel(&form);
  panel.SetColor(RGB(0, 0, 0));
  panel.SetBounds(0, 0, 200, 60);
  TLabel label(&panel);
  label.SetFontColor(RGB(0xFF, 0xFF, 0xFF));
  label.SetBounds(50, 20, 0, 0);
  label.SetText("Welcome");
  const auto textPixels = [&](bool insideLabel) {
    TBitmap picture(200, 60);
    {
      TBitmapCanvas canvas(picture);
      panel.PaintTo(canvas.Canvas().Handle());
    }
    GdiFlush();
    int count = 0;
    const RECT& r = label.BoundsRect();
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 200; ++x) {
        const POINT p{x, y};
        if (IsText(picture.Pixel(x, y)) && (PtInRect(&r, p) != FALSE) == insideLabel) ++count;
      }
    return count;
  };
  EXPECT_GT(textPixels(true), 20);
  EXPECT_EQ(textPixels(false), 0);
  label.SetVisible(false);
  EXPECT_EQ(textPixels(true), 0);
}

TEST(Label, WordWrapBreaksLinesInsideItsWidth) {
  TPlainForm form;
  TLabel label(&form);
  label.SetWordWrap(true);
  label.SetBounds(10, 10, 120, 60);
  label.SetText("This process can take some seconds. Please do not cancel it.");
  const RECT text = label.TextRect();
  EXPECT_LE(text.right, 120);
  EXPECT_GT(text.bottom, 2 * 13);  // more than one line
  EXPECT_EQ(label.Width(), 120);   // keeps its size
}

TEST(Panel, FrameKeepsTheChildrenInsideIt) {
  TPlainForm form;
  TPanel panel(&form);
  panel.SetBounds(12, 12, 445, 234);
  panel.SetFrameColor(RGB(0xA0, 0xA0, 0xA0));
  const RECT client = panel.ClientRect();
  EXPECT_EQ(client.right, 443);
  EXPECT_EQ(client.bottom, 232);
  TPanel child(&panel);
  child.SetBounds(0, 0, 10, 10);
  POINT origin{0, 0};
  MapWindowPoints(child.Handle(), form.Handle(), &origin, 1);
  EXPECT_EQ(origin.x, 13);
  EXPECT_EQ(origin.y, 13);
}

TEST(Panel, FrameIsOnePixelOfItsColour) {
  TPlainForm form;
  TPanel panel(&form);
  panel.SetColor(RGB(255, 255, 255));
  panel.SetBounds(0, 0, 20, 10);
  panel.SetFrameColor(RGB(0xA0, 0xA0, 0xA0));
  form.Show();
  PumpFor(50);
  TBitmap picture(20, 10);
  {
    TBitmapCanvas canvas(picture);
    PrintWindow(panel.Handle(), canvas.Canvas().Handle(), 0);
  }
  GdiFlush();
  EXPECT_EQ(picture.Pixel(0, 0), RGB(0xA0, 0xA0, 0xA0));
  EXPECT_EQ(picture.Pixel(19, 9), RGB(0xA0, 0xA0, 0xA0));
  EXPECT_EQ(picture.Pixel(1, 1), RGB(255, 255, 255));
}

TEST(Bitmap, AMovedFromBitmapIsEmpty) {
  TBitmap first(3, 2);
  TBitmap second(std::move(first));
  EXPECT_TRUE(first.Empty());
  EXPECT_EQ(first.Width(), 0);
  EXPECT_EQ(first.Pixel(0, 0), CLR_INVALID);
  EXPECT_EQ(second.Width(), 3);
  first = std::move(second);
  EXPECT_TRUE(second.Empty());
  EXPECT_FALSE(first.Empty());
}

TEST(ImageList, HandsOutCopiesOfPicturesOfItsSize) {
  TImageList list(16, 16);
  TBitmap mark(16, 16);
  mark.SetPixel(3, 4, RGB(0, 128, 0));
  EXPECT_EQ(list.Add(TBitmap(8, 8)), -1);
  EXPECT_EQ(list.Add(std::move(mark)), 0);
  TBitmap copy;
  EXPECT_FALSE(list.GetBitmap(1, copy));
  ASSERT_TRUE(list.GetBitmap(0, copy));
  EXPECT_EQ(copy.Width(), 16);
  EXPECT_EQ(copy.Pixel(3, 4), RGB(0, 128, 0));
  EXPECT_EQ(copy.Alpha(0, 0), 0);
}

TEST(Image, ShowsItsPictureOverTheParentsBackground) {
  TPlainForm form;
  TImage image(&form);
  image.SetBounds(0, 0, 4, 4);
  TBitmap picture(4, 4);
  picture.SetPixel(1, 1, RGB(255, 0, 0));
  image.SetPicture(picture);
  TBitmap shot(4, 4);
  {
    TBitmapCanvas canvas(shot);
    image.PaintTo(canvas.Canvas().Handle());
  }
  GdiFlush();
  EXPECT_EQ(shot.Pixel(1, 1), RGB(255, 0, 0));
  EXPECT_EQ(shot.Pixel(2, 2), Background);
}

// An image has no window, yet a click on it is its own: the window below does not get it,
// and a press that ends outside the image is no click at all.
TEST(Image, TakesTheClicksOnItWithoutAWindow) {
  TPlainForm form;
  TPanel panel(&form);
  panel.SetBounds(0, 0, 200, 100);
  TImage image(&panel);
  image.SetBounds(20, 10, 16, 16);
  int imageClicks = 0, panelClicks = 0;
  image.OnClick = [&] { ++imageClicks; };
  panel.OnClick = [&] { ++panelClicks; };
  const auto press = [&](int downX, int upX) {
    SendMessageW(panel.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(downX, 15));
    SendMessageW(panel.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(upX, 15));
  };
  press(25, 30);
  EXPECT_EQ(imageClicks, 1);
  EXPECT_EQ(panelClicks, 0);
  press(25, 100);  // let go beside it
  EXPECT_EQ(imageClicks, 1);
  EXPECT_EQ(panelClicks, 0);
  press(100, 100);
  EXPECT_EQ(panelClicks, 1);
  image.SetVisible(false);
  press(25, 30);
  EXPECT_EQ(imageClicks, 1);
  EXPECT_EQ(panelClicks, 2);
}

// A text whose parent window is gone (its object still there) asks no repaint of every
// window on the screen, which is what a repaint asked of "no window" means.
TEST(Label, WhoseParentWindowIsGoneRepaintsNoOtherWindow) {
  TPlainForm other;
  other.Show();
  PumpFor(50);
  ValidateRect(other.Handle(), nullptr);
  {
    TPlainForm form;
    TPanel panel(&form);
    TLabel label(&panel);
    label.SetText("Gone");
    DestroyWindow(panel.Handle());
    label.SetVisible(false);
    label.SetText("Still gone");
  }
  EXPECT_FALSE(GetUpdateRect(other.Handle(), nullptr, FALSE));
}

class TCountingLabel : public TLabel {
 public:
  using TLabel::TLabel;
  int Paints = 0;

 protected:
  void Paint(TCanvas& canvas) override {
    ++Paints;
    TLabel::Paint(canvas);
  }
};

// A repaint draws what Windows asks for: a changed line of a box, not every text in it,
// and the result on screen is that of a whole paint.
TEST(Panel, RepaintsOnlyTheTextsInThePartAskedFor) {
  TPlainForm form;
  TPanel panel(&form);
  panel.SetBounds(0, 0, 200, 100);
  panel.SetColor(Background);
  TCountingLabel upper(&panel), lower(&panel);
  upper.SetBounds(10, 10, 0, 0);
  lower.SetBounds(10, 60, 0, 0);
  upper.SetFontColor(RGB(255, 255, 255));
  lower.SetFontColor(RGB(255, 255, 255));
  upper.SetText("Upper line");
  lower.SetText("Lower line");
  form.Show();
  PumpFor(50);
  ASSERT_GT(upper.Paints, 0);
  ASSERT_GT(lower.Paints, 0);
  const int upperBefore = upper.Paints, lowerBefore = lower.Paints;
  lower.SetText("Lower line, changed");
  UpdateWindow(panel.Handle());
  EXPECT_EQ(upper.Paints, upperBefore);
  EXPECT_GT(lower.Paints, lowerBefore);

  TBitmap shot(200, 100);
  {
    TBitmapCanvas canvas(shot);
    PrintWindow(panel.Handle(), canvas.Canvas().Handle(), 0);
  }
  GdiFlush();
  int upperText = 0, lowerText = 0;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 200; ++x)
      if (IsText(shot.Pixel(x, y))) ++(y < 40 ? upperText : lowerText);
  EXPECT_GT(upperText, 0);
  EXPECT_GT(lowerText, upperText);  // the longer text
}

}  // namespace
