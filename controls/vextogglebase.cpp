#include "controls/vextogglebase.h"

#include <windowsx.h>

#include <algorithm>

#include "controls/artworkpicture.h"

#include "ui/scaling.h"
#include "ui/windowdc.h"

namespace {

// A premultiplied pixel over an opaque one.
uint32_t Over(uint32_t pixel, uint32_t back) {
  const uint32_t rest = 255 - (pixel >> 24);
  uint32_t result = 0xFF000000u;
  for (int shift = 0; shift < 24; shift += 8) {
    const uint32_t below = ((back >> shift) & 0xFF) * rest;
    const uint32_t channel = ((pixel >> shift) & 0xFF) + (below + 127) / 255;
    result |= std::min<uint32_t>(channel, 255) << shift;
  }
  return result;
}

bool IsBlank(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }

}  // namespace

TVexToggleBase::TVexToggleBase(TWindow* parent, const wchar_t* className,
                               const TArtwork& glyphs, int rows, const RECT& bounds)
    : TCustomControl(parent, className, bounds, WS_TABSTOP),
      FArt(glyphs),
      FRows(rows),
      FGlyphs(ArtworkPicture(glyphs, LookCount, rows, true)) {
  SetColor(RGB(255, 255, 255));
  TFont font("Arial", TFont::PointsHeight(8));
  SetFont(font);
  FActiveWidth = Width();
}

void TVexToggleBase::ScaleChanged() {
  FGlyphs = ArtworkPicture(FArt, LookCount, FRows, true);
  Invalidate();
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
  // The cell of the sheet laid over the control's colour.
  const int size = FGlyphs.Width() / LookCount;
  TBitmap glyph(size, size);
  if (glyph.Empty()) return;
  const uint32_t back = OpaquePixel(Color());
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      glyph.Bits()[y * size + x] =
          Over(FGlyphs.Bits()[(GlyphRow() * size + y) * FGlyphs.Width() + look * size + x], back);
  TMemoryDC source(dc);
  source.Select(glyph.Handle());
  BitBlt(dc, 0, Scaled(1), size, size, source.Handle(), 0, 0, SRCCOPY);
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
