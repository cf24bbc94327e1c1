// The XP push button and the image buttons: frames and tiles by pixel, keys and clicks
// through real input.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "controls/artwork.h"
#include "controls/vexdesign.h"
#include "controls/veximagebutton.h"
#include "controls/vexxpbutton.h"
#include "tests/bed/controlpictures.h"
#include "ui/scaling.h"
#include "ui/timer.h"

namespace {

// A pixel of the skin drawn at `zoom` (1 or 2).
COLORREF Skin(int x, int y, int zoom = 1) {
  const TPixelTable& skin = zoom == 2 ? Art::ButtonSkin.Double : Art::ButtonSkin.Single;
  return skin.Pixel(x, y);
}

TBitmap ButtonPicture(TVexXPButton& button, UINT state, bool hot = false) {
  TBitmap picture(button.Width(), button.Height());
  {
    TBitmapCanvas canvas(picture);
    button.PaintState(canvas.Canvas().Handle(), state, hot);
  }
  GdiFlush();
  return picture;
}

// Whether column `x` of the picture shows skin column `column`, top to bottom.
bool ShowsSkinColumn(const TBitmap& picture, int x, int column, int zoom = 1) {
  for (int y = 0; y < 25 * zoom; ++y)
    if (picture.Pixel(x, y) != Skin(column, y, zoom)) return false;
  return true;
}

// At 100 % and 200 % the button is made of the skin drawn at that scale, pixel for pixel:
// caps twice as wide, the middle stretched from one column all the same.
TEST(VexXPButton, EachStateDrawsItsCapsAndStretchedMiddle) {
  struct TCase {
    const char* Name;
    UINT State;
    bool Hot;
    int Left, Right;
  };
  for (const int z : {1, 2}) {
    SCOPED_TRACE(z);
    const TDpiOverride dpi(96 * z);
    TControlTestForm form;
    TVexXPButton button(&form);  // no caption: every pixel comes from the skin
    ASSERT_EQ(button.Height(), 25 * z);
    const int w = 98 * z, cap = 8 * z;
    for (const TCase c : {TCase{"normal", 0, false, 0, 8}, TCase{"default", ODS_DEFAULT, false, 16, 24},
                          TCase{"pressed", ODS_SELECTED | ODS_FOCUS, false, 48, 56},
                          TCase{"hot", 0, true, 64, 72},
                          TCase{"disabled", ODS_DISABLED | ODS_FOCUS, false, 80, 88}}) {
      SCOPED_TRACE(c.Name);
      const TBitmap p = ButtonPicture(button, c.State, c.Hot);
      for (int x = 0; x < cap; ++x) EXPECT_TRUE(ShowsSkinColumn(p, x, c.Left * z + x, z)) << x;
      for (int x = cap; x < w - cap; x += 9)
        EXPECT_TRUE(ShowsSkinColumn(p, x, c.Right * z, z)) << x;
      for (int x = w - cap; x < w; ++x)
        EXPECT_TRUE(ShowsSkinColumn(p, x, c.Right * z + x - (w - cap), z)) << x;
    }
    button.SetDefault(true);  // Default shows without Windows saying so
    EXPECT_TRUE(ShowsSkinColumn(ButtonPicture(button, 0), 0, 16 * z, z));
  }
}

TEST(VexXPButton, FocusFrameTilesTheDottedMiddle) {
  for (const int z : {1, 2}) {
    SCOPED_TRACE(z);
    const TDpiOverride dpi(96 * z);
    TControlTestForm form;
    TVexXPButton button(&form);
    const TBitmap p = ButtonPicture(button, ODS_FOCUS);
    const int w = 98 * z, cap = 8 * z, tile = 2 * z;
    for (int x = 0; x < cap; ++x) EXPECT_TRUE(ShowsSkinColumn(p, x, 32 * z + x, z));
    // 42 tiles, the last over the right cap's first columns.
    for (int x = cap; x < 92 * z; ++x)
      EXPECT_TRUE(ShowsSkinColumn(p, x, 96 * z + (x - cap) % tile, z)) << x;
    for (int x = 92 * z; x < w; ++x)
      EXPECT_TRUE(ShowsSkinColumn(p, x, 40 * z + x - (w - cap), z)) << x;
  }
}

// Between the drawn scales the frame is composed from the 200 % skin and filtered to the
// button's height: the middle stays one colour from left to right, and the round corners
// stay light, not filled in.
TEST(VexXPButton, BetweenTheDrawnScalesTheFrameIsFilteredWhole) {
  for (const int dpi : {120, 144}) {
    SCOPED_TRACE(dpi);
    const TDpiOverride scale(dpi);
    TControlTestForm form;
    TVexXPButton button(&form);
    ASSERT_EQ(button.Height(), Scaled(25));
    const TBitmap p = ButtonPicture(button, ODS_DEFAULT);
    const int w = p.Width(), h = p.Height(), cap = Scaled(8);
    for (int y = 0; y < h; ++y)
      for (int x = cap + 1; x < w - cap - 1; ++x)
        ASSERT_EQ(p.Pixel(x, y), p.Pixel(cap + 1, y)) << x << "," << y;
    for (const POINT corner :
         {POINT{0, 0}, POINT{w - 1, 0}, POINT{0, h - 1}, POINT{w - 1, h - 1}}) {
      const COLORREF c = p.Pixel(corner.x, corner.y);
      EXPECT_GE(std::min({GetRValue(c), GetGValue(c), GetBValue(c)}), 0xE0)
          << corner.x << "," << corner.y;
    }
    // The border is there, dark, on all four sides.
    for (const POINT edge :
         {POINT{w / 2, 0}, POINT{w / 2, h - 1}, POINT{0, h / 2}, POINT{w - 1, h / 2}})
      EXPECT_LT(GetBValue(p.Pixel(edge.x, edge.y)), 0xA0) << edge.x << "," << edge.y;
  }
}

TEST(VexXPButton, NarrowFocusedButtonsDrawNoneOrOneTile) {
  struct TCase {
    int Width;
    bool Tile;  // a tile at columns 8 and 9
  };
  TControlTestForm form;
  for (const TCase c : {TCase{14, false}, TCase{15, true}, TCase{16, true}, TCase{17, true}}) {
    SCOPED_TRACE(c.Width);
    TVexXPButton button(&form);
    button.SetBounds(0, 0, c.Width, 25);
    const TBitmap p = ButtonPicture(button, ODS_FOCUS);
    const int right = c.Width - 8;  // the right cap starts here, over the left one below 16
    for (int x = 0; x < c.Width; ++x) {
      int column = x < right ? 32 + x : 40 + x - right;
      if (c.Tile && (x == 8 || x == 9)) column = 96 + x - 8;
      EXPECT_TRUE(ShowsSkinColumn(p, x, column)) << x;
    }
  }
}

// The ink that is not skin: the caption.
RECT CaptionInk(const TBitmap& p, const TBitmap& plain) {
  RECT ink{INT_MAX, INT_MAX, -1, -1};
  for (int y = 0; y < p.Height(); ++y)
    for (int x = 0; x < p.Width(); ++x)
      if (p.Pixel(x, y) != plain.Pixel(x, y)) {
        ink.left = std::min<LONG>(ink.left, x);
        ink.top = std::min<LONG>(ink.top, y);
        ink.right = std::max<LONG>(ink.right, x + 1);
        ink.bottom = std::max<LONG>(ink.bottom, y + 1);
      }
  return ink;
}

TEST(VexXPButton, CaptionIsCentredAndDisabledInItsOwnColour) {
  TControlTestForm form;
  TVexXPButton button(&form);
  const TBitmap plain = ButtonPicture(button, 0);
  button.SetText("&Weiter");
  RECT box{0, 0, 98, 25};
  {
    TMemoryDC dc;
    TCanvas canvas(dc.Handle());
    canvas.SetFont(button.Font());
    canvas.DrawText(box, "&Weiter", DT_CALCRECT);
  }
  const RECT ink = CaptionInk(ButtonPicture(button, 0), plain);
  const int dx = (98 - box.right + 1) / 2, dy = (25 - box.bottom + 1) / 2;
  EXPECT_GE(ink.left, dx - 1);
  EXPECT_LE(ink.right, dx + box.right + 1);
  EXPECT_GE(ink.top, dy);
  EXPECT_LE(ink.bottom, dy + box.bottom);
  EXPECT_NEAR((ink.left + ink.right) / 2, 49, 3);

  const TBitmap disabled = ButtonPicture(button, ODS_DISABLED);
  EXPECT_GT(Count(disabled, TVexXPButton::DefaultDisabledColor), 10);
  EXPECT_EQ(Count(disabled, RGB(0, 0, 0)), 0);
}

TEST(VexXPButton, StaysOwnerDrawnWhateverStyleItIsGiven) {
  TControlTestForm form;
  TVexXPButton button(&form);
  button.SetDefault(true);
  SendMessageW(button.Handle(), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  EXPECT_EQ(GetWindowLongW(button.Handle(), GWL_STYLE) & 0x0F, BS_OWNERDRAW);
}

class TDialog : public TForm {
 public:
  TDialog() : TForm(L"TXPDialog", FixedDialogStyle) {
    SetClientSize(300, 80);
    Ok.SetBounds(10, 40, 98, 25);
    Ok.SetText("OK");
    Ok.SetDefault(true);
    Ok.SetModalResult(mrOk);
    Ok.OnClick = [this] { ++OkClicks; };
    Other.SetBounds(120, 40, 98, 25);
    Other.SetText("&Other");
    Help.SetBounds(230, 40, 58, 25);
  }
  TVexXPButton Ok{this}, Other{this};
  TVexHelpButton Help{this};
  int OkClicks = 0;
};

TEST(VexXPButton, EnterPressesTheDefaultWhileAnotherXPButtonHasTheFocusButNotWithCtrl) {
  TDialog dialog;
  dialog.Show();
  SetForegroundWindow(dialog.Handle());
  dialog.Other.SetFocus();
  PumpFor(50);
  EXPECT_TRUE(dialog.Ok.ActiveDefault());
  TypeKeys({{VK_CONTROL, true}, {VK_RETURN, true}, {VK_RETURN, false}, {VK_CONTROL, false}});
  EXPECT_EQ(dialog.OkClicks, 0);
  TypeKeys({{VK_RETURN, true}, {VK_RETURN, false}});
  EXPECT_EQ(dialog.OkClicks, 1);
  // A plain platform push button with the focus takes Enter itself.
  dialog.Help.SetFocus();
  EXPECT_FALSE(dialog.Ok.ActiveDefault());
}

TEST(VexXPButton, ModalResultEndsTheModalForm) {
  TDialog dialog;
  dialog.Ok.SetModalResult(1);
  TTimer timer;
  timer.SetInterval(50);
  timer.OnTimer = [&] { SendMessageW(dialog.Ok.Handle(), BM_CLICK, 0, 0); };
  timer.SetEnabled(true);
  EXPECT_EQ(dialog.ShowModal(), 1);
}

TEST(VexXPButton, HotUnderThePointerUnlessDisabled) {
  TControlTestForm form;
  TVexXPButton button(&form);
  button.SetBounds(20, 20, 98, 25);
  int moves = 0;
  button.OnMouseMove = [&](int, int) { ++moves; };
  PointerTo(form, 300, 200);  // a pointer already on the spot would not move onto it
  PointerTo(button, 30, 12);
  EXPECT_TRUE(button.Hot());
  // A paint ends the hot look; the next move brings it back and raises OnMouseMove once,
  // however many moves follow. Sent, so nothing else paints in between.
  button.Invalidate();
  UpdateWindow(button.Handle());
  EXPECT_FALSE(button.Hot());
  moves = 0;
  for (int x : {31, 35, 40}) SendMessageW(button.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(x, 12));
  EXPECT_TRUE(button.Hot());
  EXPECT_EQ(moves, 1);
  PointerTo(form, 300, 200);
  const DWORD start = GetTickCount();
  while (button.Hot() && GetTickCount() - start < 2000) PumpFor(20);
  EXPECT_FALSE(button.Hot());
  button.SetEnabled(false);
  PointerTo(button, 30, 12);
  EXPECT_FALSE(button.Hot());
}

// --- image buttons ---

TEST(VexImageButton, HelpButtonSpeaksTheChosenLanguage) {
  TControlTestForm form;
  TVexHelpButton help(&form);
  EXPECT_EQ(help.ShownCaption(), "Help");
  help.SetLanguage(lgFrench);
  EXPECT_EQ(help.ShownCaption(), "Aide");
  help.SetLanguage(lgGerman);
  EXPECT_EQ(help.ShownCaption(), "Hilfe");
  help.SetLanguage(lgSpanish);
  EXPECT_EQ(help.ShownCaption(), "Ayuda");
  EXPECT_EQ(help.Images().Width(), 25);
  EXPECT_EQ(help.Images().Height(), 100);
}

// A strip of four 10 x 10 frames in four plain colours.
TBitmap Strip() {
  TBitmap strip(10, 40);
  const COLORREF frames[] = {RGB(0, 0, 200), RGB(0, 200, 0), RGB(200, 0, 0), RGB(90, 90, 90)};
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 10; ++x) strip.SetPixel(x, y, frames[y / 10]);
  return strip;
}

TBitmap ImagePicture(TVexImageBaseButton& button, UINT state) {
  TBitmap picture(button.Width(), button.Height());
  {
    TBitmapCanvas canvas(picture);
    button.PaintState(canvas.Canvas().Handle(), state);
  }
  GdiFlush();
  return picture;
}

TEST(VexImageButton, CentredCaptionAndTheDisabledLook) {
  TControlTestForm form;
  TVexImageButton button(&form);
  button.SetBounds(10, 10, 120, 25);
  button.SetImages(Strip());
  button.SetButtonColor(RGB(200, 220, 240));
  button.SetCaptionDef("Schliessen");
  const int tw = [&] {
    TMemoryDC dc;
    TCanvas canvas(dc.Handle());
    canvas.SetFont(button.Font());
    return static_cast<int>(canvas.TextExtent("Schliessen").cx);
  }();
  const TBitmap enabled = ImagePicture(button, 0);
  int left = INT_MAX, right = -1;
  for (int y = 0; y < 25; ++y)
    for (int x = 10; x < 120; ++x)
      if (enabled.Pixel(x, y) != RGB(200, 220, 240)) {
        left = std::min(left, x);
        right = std::max(right, x);
      }
  EXPECT_NEAR(left, (120 - tw) / 2, 2);  // TextIdent -1 centres in the width
  EXPECT_EQ(enabled.Pixel(5, 5), RGB(0, 0, 200));  // frame 0 at ImageIdent 0

  const TBitmap disabled = ImagePicture(button, ODS_DISABLED);
  EXPECT_EQ(disabled.Pixel(5, 5), RGB(90, 90, 90));  // frame 3
  int shadowed = 0;
  for (int y = 0; y + 1 < 25; ++y)
    for (int x = 10; x + 1 < 120; ++x)
      shadowed += disabled.Pixel(x, y) == RGB(128, 128, 128) &&
                  disabled.Pixel(x + 1, y + 1) == RGB(255, 255, 255);
  EXPECT_GT(shadowed, 10);
}

TEST(VexImageButton, BorderLinesAreLimitedToHalfTheHeight) {
  TControlTestForm form;
  TVexImageButton button(&form);
  button.SetBounds(0, 0, 60, 25);
  button.SetTopBorderWidth(20);
  EXPECT_EQ(button.TopBorderWidth(), 12);
}

TEST(VexImageButton, AutoSizeFollowsPictureAndCaption) {
  TControlTestForm form;
  TVexHelpButton help(&form);  // ImageIdent 5, TextIdent 5, AutoSize
  help.SetBounds(10, 10, 58, 25);
  help.SetLanguage(lgGerman);
  PumpFor(50);
  const int tw = [&] {
    TMemoryDC dc;
    TCanvas canvas(dc.Handle());
    canvas.SetFont(help.Font());
    return static_cast<int>(canvas.TextExtent("Hilfe").cx);
  }();
  ImagePicture(help, 0);
  EXPECT_EQ(help.Width(), 25 + 5 + 5 + tw + 2);
  help.SetShowCaption(false);
  ImagePicture(help, 0);
  EXPECT_EQ(help.Width(), 25 + 5);
}

TEST(VexImageButton, OnlyThePictureAndCaptionTakeClicks) {
  TControlTestForm form;
  TVexHelpButton help(&form);
  help.SetBounds(20, 20, 58, 25);
  int clicks = 0;
  help.OnClick = [&] { ++clicks; };
  PumpFor(50);
  PointerTo(help, 2, 12);  // left of ImageIdent
  ClickPointer();
  EXPECT_EQ(clicks, 0);
  PointerTo(help, help.ActiveRight() + 1, 12);  // right of the caption
  ClickPointer();
  EXPECT_EQ(clicks, 0);
  PointerTo(help, 15, 12);
  ClickPointer();
  EXPECT_EQ(clicks, 1);
}

}  // namespace
