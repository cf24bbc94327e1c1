// The check box and the radio button through the real pointer and keyboard.
#include <gtest/gtest.h>

#include <memory>

#include "controls/artwork.h"
#include "controls/vexcheck.h"
#include "controls/vexradio.h"
#include "tests/bed/controlpictures.h"
#include "ui/panel.h"
#include "ui/scaling.h"

namespace {

enum { Checked, Grayed, Unchecked };                      // check sheet rows
enum { Normal, HotLook, PressedLook, DisabledLook };      // sheet columns

// A pixel of a glyph sheet drawn at `zoom` (1 or 2), whose cells are 13 x 13 at 100 %.
COLORREF Cell(const TPixelTable& sheet, int row, int look, int x, int y, int zoom = 1) {
  const int size = 13 * zoom;
  return sheet.Pixel(look * size + x, row * size + y);
}

// 100 % and 200 %: the glyphs are the drawings themselves, not a filtered copy.
struct TZoom {
  int Dpi;
  int Zoom;
  const TPixelTable& (*Table)(const TArtwork&);
};
const TPixelTable& SingleOf(const TArtwork& art) { return art.Single; }
const TPixelTable& DoubleOf(const TArtwork& art) { return art.Double; }
const TZoom Zooms[] = {{96, 1, SingleOf}, {192, 2, DoubleOf}};

TEST(VEXCheck, ClicksCycleThroughGrayedWhenAllowedWithOneClickEventPerChange) {
  TControlTestForm form;
  TVEXCheck check(&form);
  check.SetBounds(20, 20, 120, 16);
  check.SetText("Nicht mehr anzeigen");
  check.SetAllowGrayed(true);
  int clicks = 0;
  check.OnClick = [&] { ++clicks; };
  PumpFor(50);
  PointerTo(check, 6, 8);
  for (TCheckBoxState expected : {cbGrayed, cbChecked, cbUnchecked}) {
    ClickPointer();
    EXPECT_EQ(check.State(), expected);
  }
  EXPECT_EQ(clicks, 3);
  check.SetState(cbUnchecked);  // the same value: nothing
  EXPECT_EQ(clicks, 3);
  check.SetChecked(true);
  EXPECT_EQ(clicks, 4);
  // Space toggles as a click does.
  check.SetFocus();
  TypeKeys({{VK_SPACE, true}, {VK_SPACE, false}});
  EXPECT_EQ(check.State(), cbUnchecked);
}

TEST(VEXCheck, RightClickChangesNothingButSelectsARadio) {
  TControlTestForm form;
  TVEXCheck check(&form);
  check.SetBounds(20, 20, 120, 16);
  check.SetText("Box");
  TVEXRadio radio(&form);
  radio.SetBounds(20, 60, 120, 16);
  radio.SetText("Radio");
  PumpFor(50);
  PointerTo(check, 6, 8);
  ClickPointer(true);
  EXPECT_EQ(check.State(), cbUnchecked);
  PointerTo(radio, 6, 8);
  ClickPointer(true);
  EXPECT_TRUE(radio.Checked());
}

TEST(VEXCheck, OnlyTheGlyphAndCaptionAnswerThePointer) {
  TControlTestForm form;
  TVEXCheck check(&form);
  check.SetBounds(20, 20, 200, 16);
  check.SetText("Short");
  TVEXCheck blank(&form);
  blank.SetBounds(20, 50, 200, 16);
  TVEXRadio radio(&form);
  radio.SetBounds(20, 80, 200, 16);
  PumpFor(50);
  PointerTo(check, 150, 8);  // beyond the caption
  ClickPointer();
  EXPECT_FALSE(check.Checked());
  PointerTo(blank, 190, 8);  // a blank caption: the whole width
  ClickPointer();
  EXPECT_TRUE(blank.Checked());
  PointerTo(radio, 20, 8);  // a blank radio: the first 16 pixels only
  ClickPointer();
  EXPECT_FALSE(radio.Checked());
  PointerTo(radio, 10, 8);
  ClickPointer();
  EXPECT_TRUE(radio.Checked());
}

TEST(VEXCheck, ReadOnlyKeepsItsValueAndRaisesNoPress) {
  TControlTestForm form;
  TVEXCheck check(&form);
  check.SetBounds(20, 20, 120, 16);
  check.SetText("Read only");
  check.SetReadOnly(true);
  int presses = 0;
  check.OnMouseDown = [&](int, int, int) { ++presses; };
  PumpFor(50);
  PointerTo(check, 6, 8);
  ClickPointer();
  check.SetFocus();
  TypeKeys({{VK_SPACE, true}, {VK_SPACE, false}});
  EXPECT_EQ(check.State(), cbUnchecked);
  EXPECT_EQ(presses, 0);
}

TEST(VEXRadio, TabSelectsAndClearsItsGroupOnTheSameParentOnly) {
  TControlTestForm form;
  TPanel left(&form), right(&form);
  left.SetBounds(0, 0, 200, 100);
  right.SetBounds(200, 0, 200, 100);
  TVEXRadio a(&left), b(&left), c(&right);
  a.SetBounds(10, 10, 150, 16);
  a.SetText("A");
  b.SetBounds(10, 40, 150, 16);
  b.SetText("B");
  c.SetBounds(10, 10, 150, 16);
  c.SetText("C");
  a.SetChecked(true);
  c.SetChecked(true);
  int clicksB = 0;
  b.OnClick = [&] { ++clicksB; };
  a.SetFocus();
  PumpFor(50);
  TypeKeys({{VK_TAB, true}, {VK_TAB, false}});
  EXPECT_TRUE(b.Focused());
  EXPECT_TRUE(b.Checked());
  EXPECT_FALSE(a.Checked());
  EXPECT_TRUE(c.Checked());  // another parent, another group
  EXPECT_EQ(clicksB, 1);
  // The selected button is the group's tab stop.
  EXPECT_TRUE(GetWindowLongW(b.Handle(), GWL_STYLE) & WS_TABSTOP);
  EXPECT_FALSE(GetWindowLongW(a.Handle(), GWL_STYLE) & WS_TABSTOP);
}

TEST(VEXCheck, GlyphSitsAtRowsOneToThirteenAndDisabledIsGrey) {
  for (const TZoom& z : Zooms) {
    SCOPED_TRACE(z.Dpi);
    const TDpiOverride dpi(z.Dpi);
    const TPixelTable& sheet = z.Table(Art::CheckGlyphs);
    const int size = 13 * z.Zoom;
    TControlTestForm form(RGB(10, 20, 30));
    TVEXCheck check(&form);
    check.SetBounds(0, 0, 150 * z.Zoom, 30 * z.Zoom);
    check.SetText("Tall");
    check.SetChecked(true);
    TBitmap p = Picture(check);
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x)
        ASSERT_EQ(p.Pixel(x, y + z.Zoom), Cell(sheet, Checked, Normal, x, y, z.Zoom))
            << x << "," << y;
    EXPECT_EQ(p.Pixel(5, 0), RGB(255, 255, 255));  // the control's own colour above it
    EXPECT_EQ(Count(p, TVEXCheck::DefaultDisabledColor), 0);

    check.SetEnabled(false);
    p = Picture(check);
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x)
        ASSERT_EQ(p.Pixel(x, y + z.Zoom), Cell(sheet, Checked, DisabledLook, x, y, z.Zoom));
    EXPECT_GT(Count(p, TVEXCheck::DefaultDisabledColor), 5);
  }
}

TEST(VEXRadio, KeyPixelsShowTheControlsColour) {
  for (const TZoom& z : Zooms) {
    SCOPED_TRACE(z.Dpi);
    const TDpiOverride dpi(z.Dpi);
    const int size = 13 * z.Zoom;
    TControlTestForm form;
    TVEXRadio radio(&form);
    radio.SetBounds(0, 0, 150 * z.Zoom, 16 * z.Zoom);
    radio.SetColor(RGB(10, 20, 30));
    const TBitmap p = Picture(radio);
    int key = 0;
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) {
        const COLORREF cell = Cell(z.Table(Art::RadioGlyphs), 1, Normal, x, y, z.Zoom);
        if (cell == 0x0000FF) {
          ++key;
          EXPECT_EQ(p.Pixel(x, y + z.Zoom), RGB(10, 20, 30)) << x << "," << y;
        } else {
          EXPECT_EQ(p.Pixel(x, y + z.Zoom), cell) << x << "," << y;
        }
      }
    EXPECT_GT(key, 8 * z.Zoom * z.Zoom);  // the corners at least
  }
}

// Between the drawings the glyph is filtered from the nearer one: the key still shows the
// control's colour wholly where no shape reaches (the corners), and no red key leaks in.
TEST(VEXRadio, KeyBlendsIntoTheControlsColourBetweenTheDrawnScales) {
  for (const int dpi : {120, 144}) {
    SCOPED_TRACE(dpi);
    const TDpiOverride scale(dpi);
    TControlTestForm form;
    TVEXRadio radio(&form);
    radio.SetBounds(0, 0, Scaled(150), Scaled(16));
    radio.SetColor(RGB(10, 20, 30));
    const TBitmap p = Picture(radio);
    const int size = Scaled(13), top = Scaled(1);
    for (const POINT corner :
         {POINT{0, 0}, POINT{size - 1, 0}, POINT{0, size - 1}, POINT{size - 1, size - 1}})
      EXPECT_EQ(p.Pixel(corner.x, top + corner.y), RGB(10, 20, 30)) << corner.x << "," << corner.y;
    // The key colour is pure red; nothing else in the normal glyph leans to red.
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) {
        const COLORREF c = p.Pixel(x, top + y);
        EXPECT_FALSE(GetRValue(c) > GetGValue(c) + 60 && GetRValue(c) > GetBValue(c) + 60)
            << x << "," << y;
      }
  }
}

TEST(VEXCheck, HotGlyphUnderThePointerButNeverWhenDisabled) {
  TControlTestForm form;
  TVEXCheck check(&form);
  check.SetBounds(20, 20, 120, 16);
  check.SetText("Hot");
  PumpFor(50);
  PointerTo(form, 300, 200);
  PointerTo(check, 6, 8);
  EXPECT_TRUE(check.Hot());
  PointerTo(form, 300, 200);
  const DWORD start = GetTickCount();
  while (check.Hot() && GetTickCount() - start < 2000) PumpFor(20);
  EXPECT_FALSE(check.Hot());
  check.SetEnabled(false);
  PointerTo(check, 6, 8);
  EXPECT_FALSE(check.Hot());
}

}  // namespace
