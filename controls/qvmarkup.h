#pragma once
// The caption language of the rich-text label. A caption is plain text with tags from a
// fixed table; the parser hands it out one segment at a time: the plain text before the
// next tag (or up to and including the next blank or backslash, where a line may break),
// and applies that tag to a working font.
#include <windows.h>

#include <array>
#include <string>
#include <string_view>

#include "ui/font.h"

// How link text looks; the parser gives it to the text between "<a>" and "</a>".
struct TLinkLook {
  COLORREF NormalColor = 0x800000;
  COLORREF ActiveColor = 0xFF0000;
  TFontStyles Style = fsBold | fsUnderline;
  bool Hovered = false;
  // "</a>" goes back to the style of the label's own font.
  TFontStyles BaseStyle = 0;
};

struct TSegment {
  std::wstring_view Text;
  bool LineBreak = false;
  bool LinkBegins = false;
  bool LinkEnds = false;
  bool PositionGiven = false;
  // Kept from one segment to the next: the value of the last position tag that parsed.
  int Position = 0;
};

class TMarkupParser {
 public:
  static constexpr int TagCount = 15;
  static constexpr int MaxFontSize = 255;

  // `caption` must outlive the parser. `font` gives the colour that "</a>" restores when
  // the caption has no "<a>" before it.
  TMarkupParser(std::wstring_view caption, const TLinkLook& link, const TFont& font);

  bool AtEnd() const { return FPos >= FText.size(); }
  std::wstring_view Rest() const { return FText.substr(FPos); }
  // The next segment. `font` leaves with the state the tag after the segment sets; the
  // segment itself is meant to be drawn in the font as it came in.
  const TSegment& NextSegment(TFont& font);

 private:
  size_t Find(int tag);
  void Apply(int tag, size_t start, size_t at, TFont& font);
  bool ReadNumberTag(size_t start, size_t at, int& value);
  void TakeLiterally(size_t start, size_t at);

  std::wstring_view FText;
  std::wstring FLower;
  size_t FPos = 0;
  std::array<size_t, TagCount> FFound;
  TLinkLook FLink;
  COLORREF FSavedColor;
  TSegment FSegment;
};
