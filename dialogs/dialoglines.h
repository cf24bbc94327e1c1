#pragma once
// What the message, question and hint windows share: a text split at "|" into lines of
// label markup, and a place centred over a reference window but kept on the screen.
#include <windows.h>

#include <string>
#include <vector>

class TWindow;

struct TDialogLine {
  std::string Text;
  bool Bold = false;
};

// At most `maxLines` lines; empty pieces but the last become " ". With `boldTag`, a piece
// that starts with "<b>" loses the tag and is marked bold.
std::vector<TDialogLine> SplitDialogText(const std::string& text, size_t maxLines, bool boldTag);

// Half of `d`, rounded to the nearest integer with halves to the even neighbour.
int HalfToEven(int d);

// Where a window of `size` goes when centred over `reference` (its window rectangle on
// the screen), halves rounded to even; then kept inside `bounds`.
POINT CenteredOn(const RECT& reference, SIZE size, const RECT& bounds);

// The screen rectangle of a window, or the primary screen when there is none.
RECT ReferenceRect(const TWindow* reference);
RECT ScreenRect();
RECT WorkArea();
