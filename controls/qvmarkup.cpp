#include "controls/qvmarkup.h"

#include <algorithm>
#include <climits>

#include "sysutil/textconv.h"

namespace {

enum TTag {
  tgBold, tgItalic, tgUnderline, tgBoldOff, tgItalicOff, tgUnderlineOff, tgColor, tgBlank,
  tgSize, tgBreak, tgFace, tgLink, tgLinkEnd, tgPosition, tgBackslash
};

// Searched in this order; at one position the earlier entry wins.
constexpr std::wstring_view Tags[TMarkupParser::TagCount] = {
    L"<b>", L"<i>", L"<u>", L"</b>", L"</i>", L"</u>", L"<#", L" ",
    L"<s",  L"<br>", L"<\"", L"<a>", L"</a>", L"<t", L"\\"};

// The colour tag always takes "<#", six characters and one more.
constexpr size_t ColorTagLength = 9;

bool IsHex(wchar_t c) {
  return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F');
}

int HexValue(wchar_t c) {
  if (c <= L'9') return c - L'0';
  return (c | 0x20) - L'a' + 10;
}

// The six characters after "<#" as a Windows colour 0x00BBGGRR. Leading blanks are
// skipped; anything else that is not a hexadecimal digit gives black.
COLORREF ParseColor(std::wstring_view digits) {
  size_t i = digits.find_first_not_of(L' ');
  if (i == std::wstring_view::npos) return 0;
  COLORREF value = 0;
  for (; i < digits.size(); ++i) {
    if (!IsHex(digits[i])) return 0;
    value = value * 16 + static_cast<COLORREF>(HexValue(digits[i]));
  }
  return value;
}

// A signed decimal number with optional leading blanks and nothing after it.
bool ParseInt(std::wstring_view text, int& value) {
  size_t i = text.find_first_not_of(L' ');
  if (i == std::wstring_view::npos) return false;
  const bool negative = text[i] == L'-';
  if (text[i] == L'-' || text[i] == L'+') ++i;
  if (i >= text.size()) return false;
  long long n = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < L'0' || text[i] > L'9') return false;
    n = n * 10 + (text[i] - L'0');
    if (n > INT_MAX) return false;
  }
  value = static_cast<int>(negative ? -n : n);
  return true;
}

}  // namespace

TMarkupParser::TMarkupParser(std::wstring_view caption, const TLinkLook& link, const TFont& font)
    : FText(caption), FLower(caption), FLink(link), FSavedColor(font.Color()) {
  // Tags are ASCII, so lowering only ASCII letters keeps every position where it was.
  for (wchar_t& c : FLower)
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c + (L'a' - L'A'));
  for (size_t t = 0; t < FFound.size(); ++t) FFound[t] = FLower.find(Tags[t]);
}

// The first occurrence of `tag` at or after the current position. The parser only moves
// forward, so an occurrence found earlier stays good until the position passes it.
size_t TMarkupParser::Find(int tag) {
  size_t& found = FFound[static_cast<size_t>(tag)];
  if (found != std::wstring::npos && found < FPos) found = FLower.find(Tags[tag], FPos);
  return found;
}

const TSegment& TMarkupParser::NextSegment(TFont& font) {
  const int position = FSegment.Position;
  FSegment = TSegment{};
  FSegment.Position = position;
  if (AtEnd()) return FSegment;

  int tag = -1;
  size_t at = std::wstring::npos;
  for (int t = 0; t < TagCount; ++t) {
    const size_t found = Find(t);
    if (found < at) {
      at = found;
      tag = t;
    }
  }
  if (tag < 0) {
    FSegment.Text = FText.substr(FPos);
    FPos = FText.size();
    return FSegment;
  }

  const size_t start = FPos;
  FSegment.Text = FText.substr(start, at - start);
  switch (tag) {
    case tgBlank:
    case tgBackslash:
      FSegment.Text = FText.substr(start, at - start + 1);
      FPos = at + 1;
      return FSegment;
    case tgBreak:
      // Text before the break goes first; the break comes with the next, empty segment.
      if (at > start) {
        FPos = at;
        return FSegment;
      }
      FSegment.LineBreak = true;
      FPos = at + Tags[tgBreak].size();
      return FSegment;
    default:
      Apply(tag, start, at, font);
      return FSegment;
  }
}

void TMarkupParser::Apply(int tag, size_t start, size_t at, TFont& font) {
  FPos = at + Tags[tag].size();
  switch (tag) {
    case tgBold: font.SetBold(true); break;
    case tgItalic: font.SetItalic(true); break;
    case tgUnderline: font.SetUnderline(true); break;
    case tgBoldOff: font.SetBold(false); break;
    case tgItalicOff: font.SetItalic(false); break;
    case tgUnderlineOff: font.SetUnderline(false); break;
    case tgColor:
      font.SetColor(ParseColor(FText.substr(FPos, 6)));
      FPos = std::min(at + ColorTagLength, FText.size());
      break;
    case tgSize: {
      int size = 0;
      // A size that does not parse, or is not a size at all ("<span>"), changes nothing.
      if (ReadNumberTag(start, at, size) && size > 0) font.SetSize(std::min(size, MaxFontSize));
      break;
    }
    case tgFace: {
      const size_t end = FText.find(L"\">", FPos);
      if (end == std::wstring_view::npos) {
        TakeLiterally(start, at);
        break;
      }
      font.SetName(Narrow(FText.substr(FPos, end - FPos)));
      FPos = end + 2;
      break;
    }
    case tgLink:
      FSavedColor = font.Color();
      font.SetColor(FLink.Hovered ? FLink.ActiveColor : FLink.NormalColor);
      font.SetStyle(FLink.Style);
      FSegment.LinkBegins = true;
      break;
    case tgLinkEnd:
      font.SetColor(FSavedColor);
      font.SetStyle(FLink.BaseStyle);
      FSegment.LinkEnds = true;
      break;
    case tgPosition: {
      int position = 0;
      // A position that does not parse gives none: the text goes on where it is.
      if (ReadNumberTag(start, at, position)) {
        FSegment.PositionGiven = true;
        FSegment.Position = position;
      }
      break;
    }
  }
}

// A tag that never closes is plain text: its two characters end the segment.
void TMarkupParser::TakeLiterally(size_t start, size_t at) {
  FSegment.Text = FText.substr(start, at + 2 - start);
  FPos = at + 2;
}

// "<s…>" and "<t…>": the number up to the next ">", which the tag takes with it.
bool TMarkupParser::ReadNumberTag(size_t start, size_t at, int& value) {
  const size_t end = FText.find(L'>', at + 2);
  if (end == std::wstring_view::npos) {
    TakeLiterally(start, at);
    return false;
  }
  FPos = end + 1;
  return ParseInt(FText.substr(at + 2, end - at - 2), value);
}
