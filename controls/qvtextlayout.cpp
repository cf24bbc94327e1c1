#include "controls/qvtextlayout.h"

#include <algorithm>
#include <string>
#include <vector>

#include "sysutil/textconv.h"
#include "ui/canvas.h"

namespace {

// The flags a single segment is drawn with: one line, from its rectangle's top left.
constexpr UINT SegmentFlags = DT_NOPREFIX | DT_EXPANDTABS | DT_RTLREADING;

// The one link rectangle of a pass: from where the first drawn piece of link text starts
// to where the link ends, around every piece, so that a link broken over two lines still
// has an inside.
class TLinkTracker {
 public:
  void Begin(LONG x, LONG top) {
    FIn = true;
    FStarted = false;
    FRect = {x, top, x, top};
  }
  void Drawn(const RECT& piece) {
    if (!FIn) return;
    if (!FStarted) {
      FRect = piece;
      FStarted = true;
      return;
    }
    FRect.left = std::min(FRect.left, piece.left);
    FRect.top = std::min(FRect.top, piece.top);
    FRect.right = std::max(FRect.right, piece.right);
  }
  void End(LONG x, LONG bottom) {
    if (!FIn) return;
    FRect.right = FStarted ? std::max(FRect.right, x) : x;
    FRect.bottom = bottom;
    FIn = false;
  }
  const RECT& Rect() const { return FRect; }

 private:
  bool FIn = false;
  bool FStarted = false;
  RECT FRect{};
};

int Width(const RECT& r) { return r.right - r.left; }

// One cache for every label: a dialog's lines share their few fonts, and each font's
// metrics and advances are measured once per program, not once per line. Passes run one
// at a time on the window thread and put their DC back, so no cached font stays selected.
TFontCache& Fonts() {
  static TFontCache cache;
  return cache;
}

}  // namespace

class TQvTextLayout::TPass {
 public:
  TPass(TQvTextLayout& owner, HDC dc, UINT flags, const TQvTextStyle& style,
        std::wstring_view text)
      : FOwner(owner), FDC(dc), FFlags(flags), FStyle(style), FText(text) {}

  void WordWrap(RECT& r);
  void SingleLine(RECT& r);
  void Rotated(const RECT& r);
  // Draws what is still waiting to be drawn.
  void Finish() { Flush(); }
  const RECT& LinkRect() const { return FLink.Rect(); }

 private:
  bool Measuring() const { return (FFlags & DT_CALCRECT) != 0; }
  TMarkupParser Parser() const { return TMarkupParser(FText, FStyle.Link, FStyle.Font); }
  void Select(const TFont& font);
  std::wstring_view Prepare(std::wstring_view text, const TFont& font, int& shift);
  RECT Measure(std::wstring_view text, int left, int top);
  void Draw(std::wstring_view text, const RECT& r);
  bool NeedsDrawText(std::wstring_view text) const;
  void MeasureLine(int& height, int& descent);

  TQvTextLayout& FOwner;
  HDC FDC;
  UINT FFlags;
  const TQvTextStyle& FStyle;
  std::wstring_view FText;
  void Flush();

  const TFontCache::TMeasures* FMeasures = nullptr;
  HFONT FSelectedFont = nullptr;
  COLORREF FSelectedColor = CLR_INVALID;
  std::wstring FScratch;
  std::vector<int> FAdvances;
  // Plain segments that follow one another on a line in one font and colour are drawn
  // by one call: far fewer calls than segments, which is most of a paint's cost.
  struct TRun {
    std::wstring Text;
    std::vector<int> Advances;
    RECT Box{};
    bool Cut = false;  // narrower than its glyphs: drawn clipped, and alone
  } FRun;
  TLinkTracker FLink;
};

void TQvTextLayout::TPass::Select(const TFont& font) {
  const HFONT handle = Fonts().Handle(font);
  const COLORREF color = FStyle.Enabled ? font.Color() : GetSysColor(COLOR_BTNSHADOW);
  if (handle != FSelectedFont || color != FSelectedColor) Flush();
  if (handle != FSelectedFont) SelectObject(FDC, FSelectedFont = handle);
  if (color != FSelectedColor) SetTextColor(FDC, FSelectedColor = color);
  FMeasures = &Fonts().Measures(FDC, font);
}

// Small Arial draws a leading "W" outside its cell: the segment gets a blank in front and
// moves left by about that blank, so the letter keeps its place and stays whole.
std::wstring_view TQvTextLayout::TPass::Prepare(std::wstring_view text, const TFont& font,
                                                int& shift) {
  shift = 0;
  if (text.empty() || text[0] != L'W') return text;
  const int size = font.Size();
  if (!font.IsFace("arial") || size <= 5 || size > 8) return text;
  const int gap = size - font.Height();
  shift = (gap == 14 || gap == 18 || gap == 19) ? 2 : 3;
  FScratch.assign(1, L' ');
  FScratch.append(text);
  return FScratch;
}

bool TQvTextLayout::TPass::NeedsDrawText(std::wstring_view text) const {
  return (!(FFlags & DT_NOPREFIX) && text.find(L'&') != std::wstring_view::npos) ||
         ((FFlags & DT_EXPANDTABS) && text.find(L'\t') != std::wstring_view::npos);
}

// Plain text is measured and drawn by the glyph calls; DrawText only where it changes
// the text (an accelerator mark, a tab), since it costs several times as much. Each glyph
// is drawn at the advance just measured for it, so that segments meet where the layout
// put them even where a font's drawn glyphs are narrower than its metrics (small Tahoma
// under Wine).
RECT TQvTextLayout::TPass::Measure(std::wstring_view text, int left, int top) {
  RECT r{left, top, left, top};
  if (NeedsDrawText(text)) {
    DrawTextW(FDC, text.data(), static_cast<int>(text.size()), &r,
              (FFlags & SegmentFlags) | DT_SINGLELINE | DT_CALCRECT);
    return r;
  }
  FAdvances.resize(text.size());
  int width = 0;
  bool tabled = true;
  for (size_t i = 0; i < text.size() && tabled; ++i) {
    tabled = text[i] < FMeasures->Advances.size();
    if (tabled) width += FAdvances[i] = FMeasures->Advances[text[i]];
  }
  if (!tabled) {
    SIZE size{};
    // Without a count to fit the extent is ignored and every advance is filled; with one,
    // Windows fills only those that fit the extent.
    GetTextExtentExPointW(FDC, text.data(), static_cast<int>(text.size()), 0, nullptr,
                          FAdvances.data(), &size);
    // The running sums become the advance of each glyph.
    for (size_t i = FAdvances.size(); i-- > 1;) FAdvances[i] -= FAdvances[i - 1];
    width = size.cx;
  } else {
    width += FMeasures->Metrics.tmOverhang;
  }
  r.right = left + width;
  r.bottom = top + FMeasures->Metrics.tmHeight;
  return r;
}

// Draws what the last Measure measured.
void TQvTextLayout::TPass::Draw(std::wstring_view text, const RECT& r) {
  if (NeedsDrawText(text)) {
    Flush();
    RECT box = r;
    DrawTextW(FDC, text.data(), static_cast<int>(text.size()), &box,
              (FFlags & SegmentFlags) | DT_SINGLELINE);
    return;
  }
  int natural = 0;
  for (int advance : FAdvances) natural += advance;
  const bool whole = natural == r.right - r.left;  // not cut at the edge
  const bool joins = !FRun.Text.empty() && !FRun.Cut && whole && FRun.Box.right == r.left &&
                     FRun.Box.top == r.top && FRun.Box.bottom == r.bottom;
  if (!joins) {
    Flush();
    FRun.Box = r;
    FRun.Cut = !whole;
  }
  FRun.Text.append(text);
  FRun.Advances.insert(FRun.Advances.end(), FAdvances.begin(), FAdvances.end());
  FRun.Box.right = r.right;
}

void TQvTextLayout::TPass::Flush() {
  if (FRun.Text.empty()) return;
  ExtTextOutW(FDC, FRun.Box.left, FRun.Box.top, FRun.Cut ? ETO_CLIPPED : 0, &FRun.Box, FRun.Text.data(),
              static_cast<UINT>(FRun.Text.size()), FRun.Advances.data());
  FRun.Text.clear();
  FRun.Advances.clear();
}

void TQvTextLayout::TPass::WordWrap(RECT& r) {
  const RECT start = r;
  const LONG L0 = r.left, R0 = r.right, B0 = r.bottom;
  LONG y = r.top;
  RECT cur = r;
  TFont font = FStyle.Font;
  TMarkupParser parser = Parser();
  while (!parser.AtEnd()) {
    const TFont drawFont = font;
    const TSegment& seg = parser.NextSegment(font);
    if (seg.LineBreak) {
      cur = {L0, y, R0, B0};
      continue;
    }
    RECT m = cur;
    m.right = m.left;
    if (!seg.Text.empty()) {
      Select(drawFont);
      int shift = 0;
      const std::wstring_view text = Prepare(seg.Text, drawFont, shift);
      const bool blank = text == L" ";
      m = Measure(text, cur.left - shift, cur.top);
      if (Width(m) > 0 && m.right <= R0) {
        y = std::max(y, m.bottom);
        Draw(text, m);
        FLink.Drawn(m);
      } else if (blank) {
        // a blank at the end of a line is not drawn
      } else if (m.left <= L0) {
        // too wide for any line: drawn where it starts
        y = std::max(y, m.bottom);
        Draw(text, m);
        FLink.Drawn(m);
      } else {
        m = Measure(text, L0 - shift, y);
        if (Width(m) <= 0) break;
        m.right = std::min(m.right, R0);
        y = std::max(y, m.bottom);
        Draw(text, m);
        FLink.Drawn(m);
      }
    }
    cur.left = m.right;
    if (seg.PositionGiven && L0 + seg.Position >= m.right + 4) cur.left = L0 + seg.Position;
    cur.top = m.top;
    cur.right = R0;
    cur.bottom = B0;
    if (seg.LinkBegins) FLink.Begin(cur.left, cur.top);
    if (seg.LinkEnds) FLink.End(cur.left, y);
  }
  FLink.End(cur.left, y);
  r = start;
}

void TQvTextLayout::TPass::MeasureLine(int& height, int& descent) {
  height = descent = 0;
  TFont font = FStyle.Font;
  TMarkupParser parser = Parser();
  while (!parser.AtEnd()) {
    const TFont drawFont = font;
    const TSegment& seg = parser.NextSegment(font);
    if (seg.Text.empty()) continue;
    Select(drawFont);
    int shift = 0;
    const RECT m = Measure(Prepare(seg.Text, drawFont, shift), 0, 0);
    height = std::max(height, static_cast<int>(m.bottom));
    descent = std::max(descent, static_cast<int>(FMeasures->Metrics.tmDescent));
  }
}

void TQvTextLayout::TPass::SingleLine(RECT& r) {
  int lineHeight = 0, lineDescent = 0;
  MeasureLine(lineHeight, lineDescent);
  const LONG top = r.top, bottom = r.top + lineHeight;
  LONG x = r.left, lastRight = r.left;
  TFont font = FStyle.Font;
  TMarkupParser parser = Parser();
  while (!parser.AtEnd()) {
    const TFont drawFont = font;
    const TSegment& seg = parser.NextSegment(font);
    lastRight = x;
    if (!seg.Text.empty()) {
      Select(drawFont);
      int shift = 0;
      const std::wstring_view text = Prepare(seg.Text, drawFont, shift);
      const int descent = FMeasures->Metrics.tmDescent;
      if (Measuring()) FOwner.FMaxDescent = std::max(FOwner.FMaxDescent, descent);
      RECT m = Measure(text, x - shift, top);
      if (!Measuring()) {
        // Every segment's base line sits the line's largest descent above its bottom.
        const RECT box{m.left, bottom - (m.bottom - m.top) - (lineDescent - descent), m.right,
                       bottom};
        Draw(text, box);
        FLink.Drawn({m.left, top, m.right, bottom});
      }
      x = lastRight = m.right;
    }
    if (seg.PositionGiven) x = r.left + seg.Position;
    if (seg.LinkBegins) FLink.Begin(x, top);
    if (seg.LinkEnds) FLink.End(x, bottom);
  }
  FLink.End(x, bottom);
  if (Measuring()) {
    r.right = lastRight;
    r.bottom = bottom;
  }
}

// The text runs upward from the bottom left corner; a position tag moves the pen up by
// its value instead of by the segment's width.
void TQvTextLayout::TPass::Rotated(const RECT& r) {
  int y = r.bottom;
  TFont font = FStyle.Font;
  TMarkupParser parser = Parser();
  while (!parser.AtEnd()) {
    const TFont drawFont = font;
    const TSegment& seg = parser.NextSegment(font);
    int advance = 0;
    if (!seg.Text.empty()) {
      Select(drawFont);
      const RECT m = Measure(seg.Text, 0, 0);
      TFont turned = drawFont;
      turned.SetOrientation(900);
      SelectObject(FDC, FSelectedFont = Fonts().Handle(turned));
      ExtTextOutW(FDC, r.left, y, 0, nullptr, seg.Text.data(), static_cast<UINT>(seg.Text.size()),
                  NeedsDrawText(seg.Text) ? nullptr : FAdvances.data());
      advance = Width(m);
    }
    y -= seg.PositionGiven ? seg.Position : advance;
  }
}

void TQvTextLayout::DoDrawText(HDC dc, RECT& r, UINT flags, const TQvTextStyle& style,
                               std::string_view caption) {
  const bool measuring = (flags & DT_CALCRECT) != 0;
  if (measuring) FMaxDescent = 0;
  // Wrapped text takes the rectangle it is given.
  if (caption.empty() || (measuring && (flags & DT_WORDBREAK))) return;
  std::wstring text = Widen(caption);
  // A lone accelerator mark would measure as nothing.
  if (measuring && style.ShowAccelChar && text == L"&") text += L' ';
  if (!style.ShowAccelChar) flags |= DT_NOPREFIX;

  const TCanvas keep(dc);  // puts font and colours back
  TPass pass(*this, dc, flags, style, text);
  if (flags & DT_WORDBREAK)
    pass.WordWrap(r);
  else if (style.Rotated && !measuring)
    pass.Rotated(r);
  else
    pass.SingleLine(r);
  pass.Finish();
  if (!measuring) FLinkRect = pass.LinkRect();
}
