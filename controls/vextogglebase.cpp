#include "controls/vextogglebase.h"

#include <windowsx.h>

#include "ui/scaling.h"
#include "ui/windowdc.h"

namespace {

// The transparent key of the radio glyphs: such pixels show the control's colour.
constexpr uint32_t KeyColor = 0x0000FF;

bool IsBlank(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }

}  // namespace

TVexToggleBase::TVexToggleBase(TWindow* parent, const wchar_t* className,
                               const TPixelTable& glyphs, const RECT& bounds)
    : TCustomControl(parent, className, bounds, WS_TABSTOP), FGlyphs(glyphs) {
  SetColor(RGB(255, 255, 255));
  TFont font("Arial", -Scaled(11));
  SetFont(font);
  FActiveWidth = Width();
}

void TVexToggleBase::SetShowFocusFrame(bool on) {
  if (on == FShowFocusFrame) return;
  FShowFocusFrame = on;
  Repaint();
}

void TVexToggleBase::SetFontDisabledColor(COLORREF color) {
  if (color == FFontDisabledColor) return;
  FFontDisabledColor = color;
  Repaint();
}

void TVexToggleBase::SetPressed(bool on) {
  if (on == FPressed) return;
  FPressed = on;
  Repaint();
}

bool TVexToggleBase::Inside(int x, int y) const {
  return 0 <= x && x <= FActiveWidth && 0 <= y && y <= Height();
}

bool TVexToggleBase::StrictlyInside(int x, int y) const {
  return 0 < x && x < FActiveWidth && 0 < y && y < Height();
}

void TVexToggleBase::DrawGlyph(HDC dc, TLook look) const {
  // The cell of the sheet, with the key colour turned into the control's colour.
  TBitmap glyph(GlyphSize, GlyphSize);
  const uint32_t backPixel = OpaquePixel(Color());
  for (int y = 0; y < GlyphSize; ++y)
    for (int x = 0; x < GlyphSize; ++x) {
      const uint32_t c = FGlyphs.Pixels[(GlyphRow() * GlyphSize + y) * FGlyphs.Width +
                                        look * GlyphSize + x];
      glyph.Bits()[y * GlyphSize + x] = c == KeyColor ? backPixel : OpaquePixel(c & 0xFFFFFF);
    }
  TMemoryDC source(dc);
  source.Select(glyph.Handle());
  // Above 100 % the cell is scaled with a smoothing filter.
  const int size = Scaled(GlyphSize);
  if (size != GlyphSize) {
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
  }
  StretchBlt(dc, 0, Scaled(1), size, size, source.Handle(), 0, 0, GlyphSize, GlyphSize, SRCCOPY);
}

void TVexToggleBase::Paint(TCanvas& canvas) {
  const bool enabled = Enabled();
  DrawGlyph(canvas.Handle(), !enabled ? lkDisabled : FPressed ? lkPressed : FHot ? lkHot : lkNormal);
  const std::string caption = Text();
  if (IsBlank(caption)) {
    FActiveWidth = BlankActiveWidth();
    return;
  }
  TFont font = Font();
  if (!enabled) font.SetColor(FFontDisabledColor);
  canvas.SetFont(font);
  const SIZE text = canvas.TextExtent(caption);
  const int top = (Height() - text.cy) / 2;
  const int left = Scaled(16);
  RECT box{left, top, left + text.cx, top + text.cy};
  canvas.DrawText(box, caption, DT_LEFT | DT_VCENTER);
  // The frame's place is cleared first, so a focus frame drawn before goes.
  const RECT frame{left - 2, top, left + text.cx + 1, top + text.cy + 1};
  canvas.FrameRect(frame, Color());
  if (FFocused && FShowFocusFrame) DrawFocusRect(canvas.Handle(), &frame);
  FActiveWidth = text.cx + left;
}

void TVexToggleBase::ButtonDown(int button, int x, int y) {
  if (!Inside(x, y) || FReadOnly || !Enabled()) return;
  FFocused = true;
  SetCapture(Handle());
  FCaptured = true;
  SetPressed(true);
  SetFocus();
  if (OnMouseDown) OnMouseDown(button, x, y);
}

void TVexToggleBase::ButtonUp(int button, int x, int y) {
  // Only a press that began here ends here: a release alone changes nothing.
  if (!FCaptured) return;
  FCaptured = false;
  ReleaseCapture();
  SetPressed(false);
  if (Inside(x, y) && Enabled() && !FReadOnly) Released(button);
  if (OnMouseUp) OnMouseUp(button, x, y);
}

void TVexToggleBase::MouseMove(int x, int y) {
  if (FCaptured) SetPressed(Inside(x, y));
  if (StrictlyInside(x, y) && Enabled()) {
    FHot = true;
    if (FPressed) {
      FHotDrawn = true;
    } else if (!FHotDrawn) {
      const TClientDC dc(Handle());
      DrawGlyph(dc.Handle(), lkHot);
      FHotDrawn = true;
    }
  } else if (FHotDrawn) {
    FHot = false;
    MouseLeave();
  }
}

void TVexToggleBase::MouseLeave() {
  if (!FCaptured) SetPressed(false);
  if (!FHotDrawn || !Enabled()) return;
  FHot = false;
  const TClientDC dc(Handle());
  DrawGlyph(dc.Handle(), lkNormal);
  FHotDrawn = false;
}

LRESULT TVexToggleBase::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  const int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      ButtonDown(VK_LBUTTON, x, y);
      return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      ButtonDown(VK_RBUTTON, x, y);
      return 0;
    case WM_MBUTTONDOWN:
      ButtonDown(VK_MBUTTON, x, y);
      return 0;
    case WM_LBUTTONUP:
      ButtonUp(VK_LBUTTON, x, y);
      return 0;
    case WM_RBUTTONUP:
      ButtonUp(VK_RBUTTON, x, y);
      return 0;
    case WM_MBUTTONUP:
      ButtonUp(VK_MBUTTON, x, y);
      return 0;
    case WM_CAPTURECHANGED:
      FCaptured = false;
      break;
    case WM_KEYDOWN:
      if (wp == VK_SPACE) SetPressed(true);
      break;
    case WM_KEYUP:
      if (wp == VK_SPACE) {
        SetPressed(false);
        if (!FReadOnly) SpaceReleased();
      }
      return 0;
    case WM_SETFOCUS:
      FFocused = true;
      FocusGained();
      Repaint();
      break;
    case WM_KILLFOCUS:
      FFocused = false;
      FocusLost();
      Repaint();
      break;
    case WM_ENABLE:
      Invalidate();
      break;
    case BM_GETCHECK:
      return CheckValue();
    case BM_SETCHECK:
      SetCheckValue(static_cast<int>(wp));
      return 0;
    case BM_CLICK:
      if (Enabled() && !FReadOnly) Released(VK_LBUTTON);
      return 0;
  }
  return TCustomControl::WndProc(msg, wp, lp);
}
