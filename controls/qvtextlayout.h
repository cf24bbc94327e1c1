#pragma once
// Lays out and draws a caption in the label markup on any DC: wrapped at blanks and
// backslashes, on one line with one base line for every size, or turned by 90 degrees.
// The label draws itself through it; tests and benchmarks use a memory DC.
#include <windows.h>

#include <string_view>

#include "controls/qvmarkup.h"
#include "ui/fontcache.h"

struct TQvTextStyle {
  TFont Font;  // where every pass starts
  TLinkLook Link;
  bool ShowAccelChar = true;
  bool Rotated = false;
  bool Enabled = true;
};

class TQvTextLayout {
 public:
  // Draws `caption` into r with the DrawText flags of `flags` (DT_WORDBREAK chooses the
  // wrapped layout, DT_NOPREFIX leaves "&" alone). With DT_CALCRECT it only measures: r
  // becomes the rectangle the text takes, and MaxDescent() the largest font descent.
  void DoDrawText(HDC dc, RECT& r, UINT flags, const TQvTextStyle& style,
                  std::string_view caption);

  // Where the last drawing pass put the caption's link, in the DC's coordinates; empty
  // when it had none. Passes that only measure leave it alone.
  const RECT& LinkRect() const { return FLinkRect; }
  int MaxDescent() const { return FMaxDescent; }

 private:
  class TPass;
  RECT FLinkRect{};
  int FMaxDescent = 0;
};
