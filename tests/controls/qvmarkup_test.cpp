// The caption markup, one segment at a time.
#include "controls/qvmarkup.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr COLORREF BaseColor = 0x123456;
constexpr COLORREF LinkNormal = 0xDF4800;
constexpr COLORREF LinkActive = 0xFF0000;

TFont BaseFont(TFontStyles style = 0) {
  TFont font("Tahoma", -11);  // 8 points
  font.SetColor(BaseColor);
  font.SetStyle(style);
  return font;
}

TLinkLook Look(bool hovered = false) {
  return {LinkNormal, LinkActive, fsBold | fsUnderline, hovered, 0};
}

enum : unsigned { Break = 1, Begins = 2, Ends = 4, Position = 8 };

struct TCase {
  const wchar_t* Caption;
  const wchar_t* Segment;
  const wchar_t* Rest;
  unsigned Flags = 0;
  TFontStyles StyleBefore = 0;
  TFontStyles StyleAfter = 0;
  COLORREF Color = BaseColor;
  int Size = 8;
  const char* Face = "Tahoma";
  int PositionValue = 0;
};

std::string Show(const wchar_t* s) {
  std::string out;
  for (; *s; ++s) out += *s < 128 ? static_cast<char>(*s) : '?';
  return out;
}

const TCase Cases[] = {
    // style switches, any case
    {L"abc<b>def", L"abc", L"def", 0, 0, fsBold},
    {L"<I>x", L"", L"x", 0, 0, fsItalic},
    {L"<u>x", L"", L"x", 0, 0, fsUnderline},
    {L"x</B>y", L"x", L"y", 0, fsBold | fsItalic, fsItalic},
    {L"</i>y", L"", L"y", 0, fsItalic, 0},
    {L"</U>y", L"", L"y", 0, fsUnderline | fsBold, fsBold},
    // colour: six characters after "<#" and one more, whatever they are
    {L"<#FF0000>blue", L"", L"blue", 0, 0, 0, 0xFF0000},
    {L"<#0000ff>red", L"", L"red", 0, 0, 0, 0x0000FF},
    {L"<#  00FF>x", L"", L"x", 0, 0, 0, 0x0000FF},
    {L"<#F00>abcdef", L"", L"def", 0, 0, 0, 0},
    {L"<#12", L"", L"", 0, 0, 0, 0x12},  // cut short by the end of the caption
    // break opportunities keep their character
    {L"one two", L"one ", L"two"},
    {L"C:\\dir\\file", L"C:\\", L"dir\\file"},
    {L"a b<b>c", L"a ", L"b<b>c"},
    // size in points, clamped; anything after "<s" up to ">" is a size tag
    {L"<s12>x", L"", L"x", 0, 0, 0, BaseColor, 12},
    {L"<S300>x", L"", L"x", 0, 0, 0, BaseColor, 255},
    {L"<sabc>x", L"", L"x"},
    {L"<span>x", L"", L"x"},
    {L"<s0>x", L"", L"x"},
    {L"<s12", L"<s", L"12"},
    // no other tag exists
    {L"<p>x", L"<p>x", L""},
    {L"a<P>b c", L"a<P>b ", L"c"},
    // line breaks: at the start taken at once, after text left for the next call
    {L"<br>x", L"", L"x", Break},
    {L"ab<BR>x", L"ab", L"<BR>x"},
    // font face up to a quote directly followed by ">"
    {L"<\"Courier New\">x", L"", L"x", 0, 0, 0, BaseColor, 8, "Courier New"},
    {L"<\"My \"Font\"\">x", L"", L"x", 0, 0, 0, BaseColor, 8, "My \"Font\""},
    {L"a<\"open", L"a<\"", L"open"},
    // the link
    {L"<a>link</a>", L"", L"link</a>", Begins, fsItalic, fsBold | fsUnderline, LinkNormal},
    {L"link</A>z", L"link", L"z", Ends, fsBold, 0, BaseColor},
    // positions
    {L"<t-5>x", L"", L"x", Position, 0, 0, BaseColor, 8, "Tahoma", -5},
    {L"ab<T40>x", L"ab", L"x", Position, 0, 0, BaseColor, 8, "Tahoma", 40},
    {L"<tfoo>x", L"", L"x"},
    // no tag at all
    {L"plain", L"plain", L""},
};

TEST(NextSegment, EveryTagAsTheTableSays) {
  for (const TCase& c : Cases) {
    SCOPED_TRACE(Show(c.Caption));
    TFont font = BaseFont(c.StyleBefore);
    TMarkupParser parser(c.Caption, Look(), font);
    const TSegment& seg = parser.NextSegment(font);
    EXPECT_EQ(std::wstring(seg.Text), c.Segment);
    EXPECT_EQ(std::wstring(parser.Rest()), c.Rest);
    EXPECT_EQ(seg.LineBreak, (c.Flags & Break) != 0);
    EXPECT_EQ(seg.LinkBegins, (c.Flags & Begins) != 0);
    EXPECT_EQ(seg.LinkEnds, (c.Flags & Ends) != 0);
    EXPECT_EQ(seg.PositionGiven, (c.Flags & Position) != 0);
    if (seg.PositionGiven) {
      EXPECT_EQ(seg.Position, c.PositionValue);
    }
    EXPECT_EQ(font.Style(), c.StyleAfter);
    EXPECT_EQ(font.Color(), c.Color);
    EXPECT_EQ(font.Size(), c.Size);
    EXPECT_EQ(font.Name(), c.Face);
  }
}

// Runs a caption to its end and returns the segments joined by "|".
std::wstring Segments(const wchar_t* caption, TFont& font, bool hovered = false) {
  TMarkupParser parser(caption, Look(hovered), font);
  std::wstring out;
  for (bool first = true; !parser.AtEnd(); first = false) {
    if (!first) out += L'|';
    out += parser.NextSegment(font).Text;
  }
  return out;
}

TEST(NextSegment, LinkEndRestoresTheColourBeforeTheLinkAndTheLabelsOwnStyle) {
  TFont font = BaseFont();
  EXPECT_EQ(Segments(L"<#0000FF><a><b>x</a>y", font), L"|||x|y");
  EXPECT_EQ(font.Color(), 0x0000FFu);
  EXPECT_EQ(font.Style(), 0u);  // the bold switched on inside the link is gone
}

TEST(NextSegment, HoveredLinkTakesTheActiveColour) {
  TFont font = BaseFont();
  TMarkupParser parser(L"<a>x</a>", Look(true), font);
  parser.NextSegment(font);
  EXPECT_EQ(font.Color(), LinkActive);
}

TEST(NextSegment, PositionStaysUntilTheNextPositionTag) {
  TFont font = BaseFont();
  TMarkupParser parser(L"<t30>a b", Look(), font);
  EXPECT_TRUE(parser.NextSegment(font).PositionGiven);
  const TSegment& next = parser.NextSegment(font);
  EXPECT_FALSE(next.PositionGiven);
  EXPECT_EQ(next.Position, 30);
}

TEST(NextSegment, WholeCaptionsFallApartAtTagsBlanksAndBackslashes) {
  TFont font = BaseFont();
  EXPECT_EQ(Segments(L"Hello <b>big</b> world", font), L"Hello ||big| |world");
  EXPECT_EQ(Segments(L"a<br><br>b", font), L"a|||b");
  EXPECT_EQ(Segments(L"Ünïcödé <B>Größe", font), L"Ünïcödé ||Größe");
}

}  // namespace
