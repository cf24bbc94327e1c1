#pragma once
// The program's artwork: PNG files under resources/art, turned into pixel tables when the
// program is built (cmake/pixeltables.cmake). A table holds three bytes a pixel, red, green
// and blue, row by row from the top, each row left to right, without padding. Soft edges
// are already blended onto white, the panels' colour.
#include <cstdint>

struct TPixelTable {
  int Width;
  int Height;
  const uint8_t* Rgb;

  // Pixel (x, y) as a Windows colour 0x00BBGGRR.
  uint32_t Pixel(int x, int y) const {
    const uint8_t* p = Rgb + 3 * (y * Width + x);
    return p[0] | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16);
  }
};

// A picture drawn twice: at 100 % display scale and, afresh from the same shapes, at 200 %
// (every figure below doubled, the button's caps and focus tile included).
struct TArtwork {
  TPixelTable Single;
  TPixelTable Double;
};

namespace Art {

// Sizes at 100 %.

// 98 x 25: six 16 x 25 frames (normal, default, focused, pressed, hot, disabled), each an
// 8-pixel left cap and an 8-pixel right cap whose first column is the stretchable middle,
// then a 2 x 25 focus tile (columns 96-97) that repeats seamlessly.
extern const TArtwork ButtonSkin;
// 39 x 39 each: a white symbol on a blue disc with a grey ring.
extern const TArtwork ErrorIcon;
extern const TArtwork QuestionIcon;
extern const TArtwork InfoIcon;
extern const TArtwork WarningIcon;
// 52 x 39: 13 x 13 cells; columns normal, hot, pressed, disabled; rows checked, grayed,
// unchecked. Opaque.
extern const TArtwork CheckGlyphs;
// 52 x 26: 13 x 13 cells; columns normal, hot, pressed, disabled; rows selected, not
// selected. 0x0000FF marks the pixels that show the control's own colour.
extern const TArtwork RadioGlyphs;
// 25 x 100: four 25 x 25 frames of a round question-mark badge stacked top to bottom:
// normal (grey), hot (blue), pressed (blue, dark ring), disabled (faded).
extern const TArtwork HelpStrip;
// 16 x 16 each: the hint window's information and warning pictures.
extern const TArtwork HintInfoIcon;
extern const TArtwork HintWarningIcon;
// 18 x 72: four 18 x 18 frames of the hint window's close button stacked top to bottom:
// normal, hot, pressed, disabled.
extern const TArtwork CloseStrip;
// 80 x 16: five 16 x 16 flags side by side: German, British, French, Spanish, Italian.
extern const TArtwork Flags;

}  // namespace Art
