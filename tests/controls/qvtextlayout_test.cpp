// The three layouts on a memory DC with Tahoma, checked by measured rectangles and by the
// pixels they leave.
#include "controls/qvtextlayout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sysutil/textconv.h"
#include "ui/canvas.h"

namespace {

constexpr COLORREF Paper = RGB(255, 255, 255);

struct TBox {
  int Left = INT_MAX, Top = INT_MAX, Right = INT_MIN, Bottom = INT_MIN;  // Right, Bottom inclusive
  bool Empty() const { return Right < Left; }
};

TQvTextStyle Style(const char* face = "Tahoma", int height = -11) {
  TQvTextStyle style;
  style.Font = TFont(face, height);
  return style;
}

class TSheet {
 public:
  explicit TSheet(int width = 400, int height = 200) : FPicture(width, height) {
    FPicture.Fill(Paper);
  }

  RECT Draw(const std::string& caption, RECT r, UINT flags, const TQvTextStyle& style = Style()) {
    {
      TBitmapCanvas canvas(FPicture);
      FLayout.DoDrawText(canvas.Canvas().Handle(), r, flags, style, caption);
    }
    GdiFlush();
    return r;
  }
  // Draws plain text with its top left corner at (x, y), each glyph at its measured
  // advance, cut at `clipRight` if given: the picture a layout must leave.
  void Piece(const std::wstring& text, int x, int y, const TFont& font, int clipRight = INT_MAX) {
    {
      TBitmapCanvas canvas(FPicture);
      const HDC dc = canvas.Canvas().Handle();
      canvas.Canvas().SetFont(font);
      std::vector<int> ends(text.size()), advances(text.size());
      SIZE size{};
      GetTextExtentExPointW(dc, text.c_str(), static_cast<int>(text.size()), 0, nullptr, ends.data(),
                            &size);
      for (size_t i = 0; i < text.size(); ++i) advances[i] = ends[i] - (i ? ends[i - 1] : 0);
      const RECT clip{x, y, std::min(clipRight, FPicture.Width()), FPicture.Height()};
      ExtTextOutW(dc, x, y, ETO_CLIPPED, &clip, text.c_str(), static_cast<UINT>(text.size()),
                  advances.data());
    }
    GdiFlush();
  }
  bool operator==(const TSheet& other) const {
    for (int y = 0; y < FPicture.Height(); ++y)
      for (int x = 0; x < FPicture.Width(); ++x)
        if (FPicture.Pixel(x, y) != other.FPicture.Pixel(x, y)) return false;
    return true;
  }
  RECT Measure(const std::string& caption, UINT flags = 0, const TQvTextStyle& style = Style()) {
    RECT r{0, 0, 1000, 1000};
    TMemoryDC dc;
    FLayout.DoDrawText(dc.Handle(), r, flags | DT_CALCRECT, style, caption);
    return r;
  }

  // The ink (anything not paper) inside [x0, x1) × [y0, y1).
  TBox Ink(int x0 = 0, int y0 = 0, int x1 = INT_MAX, int y1 = INT_MAX) const {
    TBox box;
    for (int y = std::max(y0, 0); y < std::min(y1, FPicture.Height()); ++y)
      for (int x = std::max(x0, 0); x < std::min(x1, FPicture.Width()); ++x)
        if (FPicture.Pixel(x, y) != Paper) {
          box.Left = std::min(box.Left, x);
          box.Right = std::max(box.Right, x);
          box.Top = std::min(box.Top, y);
          box.Bottom = std::max(box.Bottom, y);
        }
    return box;
  }
  int Count(COLORREF color) const {
    int n = 0;
    for (int y = 0; y < FPicture.Height(); ++y)
      for (int x = 0; x < FPicture.Width(); ++x) n += FPicture.Pixel(x, y) == color;
    return n;
  }
  const TQvTextLayout& Layout() const { return FLayout; }

 private:
  TBitmap FPicture;
  TQvTextLayout FLayout;
};

// Width and height of plain text in a font, by the glyph calls themselves.
SIZE Extent(const std::wstring& text, TFont font) {
  TMemoryDC dc;
  TCanvas canvas(dc.Handle());
  SelectObject(dc.Handle(), font.Handle());
  SIZE size{};
  GetTextExtentPoint32W(dc.Handle(), text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

TFont Tahoma(int height = -11, TFontStyles style = 0) {
  TFont font("Tahoma", height);
  font.SetStyle(style);
  return font;
}

int LineHeight() { return Extent(L"x", Tahoma()).cy; }

TEST(QvTextLayout, LinkRectangleCoversTheLinkText) {
  TSheet sheet;
  sheet.Draw("<a>English</a>", {0, 0, 200, 50}, 0);
  const SIZE link = Extent(L"English", Tahoma(-11, fsBold | fsUnderline));
  const RECT r = sheet.Layout().LinkRect();
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, link.cx);
  EXPECT_EQ(r.bottom, link.cy);

  TSheet after;
  after.Draw("Say <a>English</a> now", {10, 5, 300, 50}, 0);
  const int say = Extent(L"Say ", Tahoma()).cx;
  EXPECT_EQ(after.Layout().LinkRect().left, 10 + say);
  EXPECT_EQ(after.Layout().LinkRect().right, 10 + say + link.cx);
}

TEST(QvTextLayout, LinkBrokenOffTheFirstLineStartsWhereItsTextDoes) {
  const TFont link = Tahoma(-11, fsBold | fsUnderline);
  const int width = std::max(Extent(L"Read the ", Tahoma()).cx, Extent(L"whole story", link).cx) + 2;
  TSheet sheet;
  sheet.Draw("Read the <a>whole story</a>", {0, 0, width, 100}, DT_WORDBREAK);
  const RECT r = sheet.Layout().LinkRect();
  const int h = LineHeight();
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, h);
  EXPECT_EQ(r.right, Extent(L"whole ", link).cx + Extent(L"story", link).cx);
  EXPECT_EQ(r.bottom, 2 * h);
}

TEST(QvTextLayout, WordWrapBreaksAtBlanksAndBackslashes) {
  const int h = LineHeight();
  const TFont font = Tahoma();
  {
    TSheet sheet, expected;
    sheet.Draw("one two three", {0, 0, Extent(L"one two ", font).cx + 3, 100}, DT_WORDBREAK);
    expected.Piece(L"one ", 0, 0, font);
    expected.Piece(L"two ", Extent(L"one ", font).cx, 0, font);
    expected.Piece(L"three", 0, h, font);
    EXPECT_TRUE(sheet == expected);
  }
  {
    TSheet sheet, expected;
    sheet.Draw("C:\\Programme\\Cardmend", {0, 0, Extent(L"C:\\Programme\\", font).cx + 3, 100},
               DT_WORDBREAK);
    expected.Piece(L"C:\\", 0, 0, font);
    expected.Piece(L"Programme\\", Extent(L"C:\\", font).cx, 0, font);
    expected.Piece(L"Cardmend", 0, h, font);
    EXPECT_TRUE(sheet == expected);
  }
}

TEST(QvTextLayout, TextBeyondLatin1IsPlacedAsWell) {
  const TFont font = Tahoma();
  TSheet sheet, expected;
  sheet.Draw("Preis \xE2\x82\xAC 20 \xCE\xA9hm", {0, 0, 300, 100}, 0);  // "Preis € 20 Ωhm"
  int x = 0;
  for (const std::wstring piece : {L"Preis ", L"\u20AC ", L"20 ", L"\u03A9hm"}) {
    expected.Piece(piece, x, 0, font);
    x += Extent(piece, font).cx;
  }
  EXPECT_TRUE(sheet == expected);
}

TEST(QvTextLayout, TwoBreaksInARowGiveOneLineBreak) {
  TSheet sheet, expected;
  sheet.Draw("a<br><br>b", {0, 0, 200, 100}, DT_WORDBREAK);
  expected.Piece(L"a", 0, 0, Tahoma());
  expected.Piece(L"b", 0, LineHeight(), Tahoma());
  EXPECT_TRUE(sheet == expected);
}

TEST(QvTextLayout, OverWideWordIsDrawnWholeAtTheLeftEdgeAndCutAfterAWrap) {
  const wchar_t* word = L"Chipkartenressourcenmanager";
  TSheet sheet, expected;
  sheet.Draw("Chipkartenressourcenmanager", {0, 0, 40, 100}, DT_WORDBREAK);
  expected.Piece(word, 0, 0, Tahoma());
  EXPECT_TRUE(sheet == expected);

  TSheet later, cut;
  later.Draw("a Chipkartenressourcenmanager", {0, 0, 40, 100}, DT_WORDBREAK);
  cut.Piece(L"a ", 0, 0, Tahoma());
  cut.Piece(word, 0, LineHeight(), Tahoma(), 40);
  EXPECT_TRUE(later == cut);
}

TEST(QvTextLayout, BlankAtALineEndIsNotDrawn) {
  // The tag makes the blank a segment of its own; underlined, a drawn blank would leave a
  // line behind "aaa".
  const TFont underlined = Tahoma(-11, fsUnderline);
  TSheet sheet, expected;
  sheet.Draw("aaa<u> bbb", {0, 0, Extent(L"aaa", Tahoma()).cx + 1, 100}, DT_WORDBREAK);
  expected.Piece(L"aaa", 0, 0, Tahoma());
  expected.Piece(L"bbb", 0, LineHeight(), underlined);
  EXPECT_TRUE(sheet == expected);
}

TEST(QvTextLayout, SegmentsOfDifferentSizesShareOneBaseLine) {
  TSheet sheet;
  sheet.Draw("<s8>xx<s20>xx", {0, 0, 300, 100}, 0);
  const int small = Extent(L"xx", Tahoma()).cx;
  const TBox left = sheet.Ink(0, 0, small), right = sheet.Ink(small + 1);
  ASSERT_FALSE(left.Empty());
  ASSERT_FALSE(right.Empty());
  EXPECT_EQ(left.Bottom, right.Bottom);
  EXPECT_LT(right.Top, left.Top - 5);
}

TEST(QvTextLayout, BreakIsIgnoredWithoutWordWrap) {
  TSheet sheet, expected;
  sheet.Draw("one<br>two", {0, 0, 300, 100}, 0);
  expected.Piece(L"one", 0, 0, Tahoma());
  expected.Piece(L"two", Extent(L"one", Tahoma()).cx, 0, Tahoma());
  EXPECT_TRUE(sheet == expected);
}

TEST(QvTextLayout, MeasuringGivesTheLineAndTheLargestDescent) {
  TSheet sheet;
  const RECT plain = sheet.Measure("Hello");
  EXPECT_EQ(plain.right, Extent(L"Hello", Tahoma()).cx);
  EXPECT_EQ(plain.bottom, LineHeight());

  const TFont big = [] { TFont f = Tahoma(); f.SetSize(20); return f; }();
  const RECT mixed = sheet.Measure("ab<s20>cd");
  EXPECT_EQ(mixed.right, Extent(L"ab", Tahoma()).cx + Extent(L"cd", big).cx);
  EXPECT_EQ(mixed.bottom, Extent(L"cd", big).cy);
  TEXTMETRICW tm{};
  {
    TMemoryDC dc;
    TCanvas keep(dc.Handle());
    SelectObject(dc.Handle(), big.Handle());
    GetTextMetricsW(dc.Handle(), &tm);
  }
  EXPECT_EQ(sheet.Layout().MaxDescent(), tm.tmDescent);

  // A position tag moves the text; the last segment's right edge is the width.
  EXPECT_EQ(sheet.Measure("<t50>ab").right, 50 + Extent(L"ab", Tahoma()).cx);
  // Wrapped text takes the rectangle it was given.
  const RECT wrapped = sheet.Measure("a b c", DT_WORDBREAK);
  EXPECT_EQ(wrapped.right, 1000);
  EXPECT_EQ(wrapped.bottom, 1000);
  // A lone accelerator mark still has a width.
  EXPECT_GT(sheet.Measure("&").right, 0);
  EXPECT_EQ(sheet.Measure("").right, 1000);  // nothing to do
}

TEST(QvTextLayout, RotatedTextRunsUpFromTheBottomLeftCorner) {
  TSheet sheet(100, 300);
  TQvTextStyle style = Style();
  style.Font.SetSize(14);
  style.Rotated = true;
  sheet.Draw("Cardmend", {0, 0, 60, 300}, 0, style);
  const SIZE text = Extent(L"Cardmend", style.Font);
  const TBox ink = sheet.Ink();
  ASSERT_FALSE(ink.Empty());
  EXPECT_GE(ink.Left, 0);
  EXPECT_LE(ink.Right, text.cy);
  EXPECT_LE(ink.Bottom, 300);
  EXPECT_GE(ink.Top, 300 - text.cx - 1);
  EXPECT_GT(ink.Bottom - ink.Top, text.cx * 3 / 4);  // taller than wide: turned
  EXPECT_LT(ink.Right - ink.Left, ink.Bottom - ink.Top);
}

TEST(QvTextLayout, ColourTagsAreWindowsColoursAndLinksTakeTheirColours) {
  TQvTextStyle bold = Style("Tahoma", -24);
  bold.Font.SetBold(true);
  struct TCase {
    const char* Caption;
    COLORREF Seen, Absent;
  };
  for (const TCase c : {TCase{"<#FF0000>IIII", RGB(0, 0, 255), RGB(255, 0, 0)},
                        TCase{"<#0000FF>IIII", RGB(255, 0, 0), RGB(0, 0, 255)}}) {
    SCOPED_TRACE(c.Caption);
    TSheet sheet;
    sheet.Draw(c.Caption, {0, 0, 400, 100}, 0, bold);
    EXPECT_GT(sheet.Count(c.Seen), 40);
    EXPECT_EQ(sheet.Count(c.Absent), 0);
  }
  for (bool hovered : {false, true}) {
    TQvTextStyle link = bold;
    link.Link.Hovered = hovered;
    TSheet sheet;
    sheet.Draw("<a>IIII</a>", {0, 0, 400, 100}, 0, link);
    EXPECT_EQ(sheet.Count(link.Link.NormalColor) > 40, !hovered);
    EXPECT_EQ(sheet.Count(link.Link.ActiveColor) > 40, hovered);
  }
}

TEST(QvTextLayout, DisabledTextIsGrey) {
  TQvTextStyle style = Style("Tahoma", -24);
  style.Font.SetBold(true);
  style.Enabled = false;
  TSheet sheet;
  sheet.Draw("<#0000FF>IIII", {0, 0, 400, 100}, 0, style);
  EXPECT_EQ(sheet.Count(RGB(255, 0, 0)), 0);
  EXPECT_GT(sheet.Count(GetSysColor(COLOR_BTNSHADOW)), 40);
}

TEST(QvTextLayout, SmallArialMovesALeadingWLeftBehindABlank) {
  const RECT plain = TSheet().Measure("Wa", 0, Style("Tahoma", -11));
  // 8 points at a height of -11: size minus height is 19, so two pixels.
  const RECT arial = TSheet().Measure("Wa", 0, Style("Arial", -11));
  const SIZE blankAndText = Extent(L" Wa", TFont("Arial", -11));
  EXPECT_EQ(arial.right, -2 + blankAndText.cx);
  EXPECT_EQ(plain.right, Extent(L"Wa", Tahoma()).cx);
  // 7 points (height -9): 16, so three pixels.
  EXPECT_EQ(TSheet().Measure("Wa", 0, Style("arial", -9)).right,
            -3 + Extent(L" Wa", TFont("arial", -9)).cx);
}

}  // namespace
