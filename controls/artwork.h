#pragma once
// The program's artwork: PNG files under resources/art, turned into pixel tables when the
// program is built (cmake/pixeltables.cmake). A table holds Windows colours 0x00BBGGRR row
// by row from the top, each row left to right, without padding: pixel (x, y) is entry
// y * Width + x. Soft edges are already blended onto white, the panels' colour.
#include <cstdint>

struct TPixelTable {
  int Width;
  int Height;
  const uint32_t* Pixels;
};

namespace Art {

// 98 x 25: six 16 x 25 frames (normal, default, focused, pressed, hot, disabled), each an
// 8-pixel left cap and an 8-pixel right cap whose first column is the stretchable middle,
// then a 2 x 25 focus tile (columns 96-97) that repeats seamlessly.
extern const TPixelTable ButtonSkin;
// 39 x 39 each: a white symbol on a blue disc with a grey ring.
extern const TPixelTable ErrorIcon;
extern const TPixelTable QuestionIcon;
extern const TPixelTable InfoIcon;
extern const TPixelTable WarningIcon;
// 52 x 39: 13 x 13 cells; columns normal, hot, pressed, disabled; rows checked, grayed,
// unchecked. Opaque.
extern const TPixelTable CheckGlyphs;
// 52 x 26: 13 x 13 cells; columns normal, hot, pressed, disabled; rows selected, not
// selected. 0x0000FF marks the pixels that show the control's own colour.
extern const TPixelTable RadioGlyphs;
// 25 x 100: four 25 x 25 frames of a round question-mark badge stacked top to bottom:
// normal (grey), hot (blue), pressed (blue, dark ring), disabled (faded).
extern const TPixelTable HelpStrip;
// 16 x 16 each: the hint window's information and warning pictures.
extern const TPixelTable HintInfoIcon;
extern const TPixelTable HintWarningIcon;
// 18 x 72: four 18 x 18 frames of the hint window's close button stacked top to bottom:
// normal, hot, pressed, disabled.
extern const TPixelTable CloseStrip;
// 80 x 16: five 16 x 16 flags side by side: German, British, French, Spanish, Italian.
extern const TPixelTable Flags;

}  // namespace Art
