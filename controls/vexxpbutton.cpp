#include "controls/vexxpbutton.h"

#include <windowsx.h>

#include <algorithm>

#include "controls/artworkpicture.h"
#include "controls/vexdesign.h"
#include "ui/canvas.h"
#include "ui/offscreen.h"
#include "ui/resample.h"
#include "ui/scaling.h"
#include "ui/windowdc.h"

namespace {

constexpr int CapWidth = 8;
constexpr int SkinWidth = 98;
constexpr int SkinHeight = 25;
constexpr int FocusTile = 96;

constexpr TVexXPButton::TFrame NormalFrame{0, 8}, DefaultFrame{16, 24}, FocusedFrame{32, 40},
    PressedFrame{48, 56}, HotFrame{64, 72}, DisabledFrame{80, 88};

}  // namespace

TVexXPButton::TVexXPButton(TWindow* parent)
    : TVexXPButton(parent, {0, 0, Scaled(98), Scaled(SkinHeight)}) {}

TVexXPButton::TVexXPButton(TWindow* parent, const RECT& bounds)
    : TButton(parent, BS_OWNERDRAW, bounds), FBuiltInSkin(BuiltInSkin()) {
  const TFont font("Arial", TFont::PointsHeight(8));
  // The parent's font, which the button has taken already, is mostly this one: a second
  // WM_SETFONT would change nothing.
  if (!font.SameGdiFont(Font()) || font.Color() != Font().Color()) SetFont(font);
}

TBitmap TVexXPButton::BuiltInSkin() {
  return NearestDrawing(Art::ButtonSkin);
}

void TVexXPButton::ScaleChanged() {
  FBuiltInSkin = BuiltInSkin();
  Invalidate();
}

void TVexXPButton::SetSkin(const TBitmap* skin) {
  FSkin = skin;
  SetBounds(Left(), Top(), Width(), Scaled(Skin().Height() / SkinZoom()));
  Invalidate();
}

void TVexXPButton::SetDropDown(bool on) {
  if (on == FDropDown) return;
  FDropDown = on;
  Invalidate();
}

void TVexXPButton::SetFontDisabledColor(COLORREF color) {
  if (color == FFontDisabledColor) return;
  FFontDisabledColor = color;
  Invalidate();
}

bool TVexXPButton::ActiveDefault() const {
  TWindow* focused = FromHandle(GetFocus());
  if (dynamic_cast<TButton*>(focused) && !dynamic_cast<TVexXPButton*>(focused))
    return focused == this;
  return Default();
}

void TVexXPButton::Click() {
  EndHot();
  TButton::Click();
}

UINT TVexXPButton::CurrentState() const {
  UINT state = 0;
  if (!Enabled()) state |= ODS_DISABLED;
  if (Focused()) state |= ODS_FOCUS;
  if (SendMessageW(Handle(), BM_GETSTATE, 0, 0) & BST_PUSHED) state |= ODS_SELECTED;
  return state;
}

void TVexXPButton::DrawItem(const DRAWITEMSTRUCT& item) {
  if (PaintDueForAll()) return;
  PaintOffScreen(item.hDC, item.rcItem, [&](HDC dc) { PaintState(dc, item.itemState); });
}

void TVexXPButton::Paint(TCanvas& canvas) { PaintState(canvas.Handle(), CurrentState()); }

void TVexXPButton::PaintState(HDC dc, UINT itemState, bool hot) {
  FHot = hot;
  const RECT r{0, 0, Width(), Height()};
  const bool disabled = (itemState & ODS_DISABLED) != 0;
  const bool selected = (itemState & ODS_SELECTED) != 0;
  if (!hot) FPressed = selected;
  // A button that is Default shows it even when Windows does not say so, as an owner-drawn
  // button is never the dialog's default push button.
  const bool isDefault = (itemState & ODS_DEFAULT) || Default();
  TFrame frame = NormalFrame;
  bool tiled = false;
  if (hot) {
    frame = HotFrame;
  } else if (disabled) {
    frame = DisabledFrame;
  } else if (selected) {
    frame = PressedFrame;
  } else if (!(itemState & ODS_FOCUS) && !isDefault) {
    frame = NormalFrame;
  } else if (itemState & ODS_FOCUS) {
    frame = FocusedFrame;
    tiled = true;
  } else {
    frame = DefaultFrame;
  }
  DrawFrame(dc, r, frame, tiled);
  if (FDropDown) DrawArrow(dc, r, disabled && !hot);
  DrawCaption(dc, r, disabled && !hot);
}

int TVexXPButton::SkinZoom() const { return std::max(1, Skin().Width() / SkinWidth); }

// A button of another height than the skin (a display scale above 100 %, or the 200 %
// skin at 150 %) gets its frame composed at the skin's own scale, where caps, middle and
// focus tiles fit whole pixels, and the result filtered to the button's size.
void TVexXPButton::DrawScaledFrame(HDC dc, const RECT& r, TFrame frame, bool tiled) const {
  const int skinHeight = Skin().Height();
  const int width = r.right - r.left, height = r.bottom - r.top;
  TBitmap composed(MulDiv(width, skinHeight, height), skinHeight);
  TBitmap fitted(width, height);
  if (composed.Empty() || fitted.Empty()) return;
  {
    TMemoryDC target(dc);
    target.Select(composed.Handle());
    DrawFrame(target.Handle(), {0, 0, composed.Width(), skinHeight}, frame, tiled);
    GdiFlush();
  }
  ResampleInto(composed, {0, 0, composed.Width(), skinHeight}, fitted, {0, 0, width, height});
  TMemoryDC source(dc);
  source.Select(fitted.Handle());
  BitBlt(dc, r.left, r.top, width, height, source.Handle(), 0, 0, SRCCOPY);
}

void TVexXPButton::DrawFrame(HDC dc, const RECT& r, TFrame frame, bool tiled) const {
  const TBitmap& skin = Skin();
  if (skin.Empty()) return;
  const int skinHeight = skin.Height();
  if (r.bottom - r.top != skinHeight) return DrawScaledFrame(dc, r, frame, tiled);
  const int zoom = SkinZoom(), cap = CapWidth * zoom, tile = 2 * zoom;
  TMemoryDC source(dc);
  source.Select(skin.Handle());
  const HDC s = source.Handle();
  const int w = r.right - r.left;
  BitBlt(dc, r.left, r.top, cap, skinHeight, s, frame.Left * zoom, 0, SRCCOPY);
  BitBlt(dc, r.right - cap, r.top, cap, skinHeight, s, frame.Right * zoom, 0, SRCCOPY);
  if (!tiled) {
    if (w - 2 * cap > 0) {
      SetStretchBltMode(dc, COLORONCOLOR);
      StretchBlt(dc, r.left + cap, r.top, w - 2 * cap, skinHeight, s, frame.Right * zoom, 0, 1,
                 skinHeight, SRCCOPY);
    }
    return;
  }
  // The dotted focus line goes on tile by tile; the last tile may cover the right cap's
  // first columns, which show the same pixels.
  const int tiles = (w - 2 * cap) / tile;
  for (int i = 0; tiles >= 0 && i <= tiles; ++i)
    BitBlt(dc, r.left + cap + tile * i, r.top, tile, skinHeight, s, FocusTile * zoom, 0, SRCCOPY);
}

void TVexXPButton::DrawArrow(HDC dc, const RECT& r, bool disabled) const {
  TCanvas canvas(dc);
  const COLORREF color = disabled ? FFontDisabledColor : RGB(0, 0, 0);
  for (int i = 0; i < Scaled(4); ++i)
    canvas.Line(r.left + Scaled(8) + i, r.top + Scaled(11) + i, r.left + Scaled(15) - i,
                r.top + Scaled(11) + i, color);
}

void TVexXPButton::DrawCaption(HDC dc, const RECT& r, bool disabled) const {
  const std::string caption = Text();
  if (caption.empty()) return;
  TCanvas canvas(dc);
  TFont font = Font();
  if (disabled) font.SetColor(FFontDisabledColor);
  canvas.SetFont(font);
  RECT box{0, 0, r.left + r.right, r.top + r.bottom};
  canvas.DrawText(box, caption, DT_CALCRECT);
  const int dx = (r.right - r.left - box.right + 1) / 2;
  const int dy = (r.bottom - r.top - box.bottom + 1) / 2;
  OffsetRect(&box, r.left + dx, r.top + dy);
  // Arial's "W" reaches past its cell on both sides.
  if ((caption[0] == 'W' || caption[0] == 'w') && font.IsFace("arial")) InflateRect(&box, 1, 0);
  // The box places the caption; a glyph reaching past its advance may still show.
  canvas.DrawText(box, caption, DT_CENTER | DT_VCENTER | DT_NOCLIP);
}

void TVexXPButton::MouseMoved() {
  if (!Enabled() || FHot || FPressed) return;
  TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Handle(), 0};
  TrackMouseEvent(&track);
  POINT p{};
  GetCursorPos(&p);
  ScreenToClient(Handle(), &p);
  if (!(0 < p.x && p.x < Width() && 0 < p.y && p.y < Height())) return;
  {
    const TClientDC dc(Handle());
    PaintState(dc.Handle(), 0, true);
  }
  if (OnMouseMove) OnMouseMove(p.x, p.y);
}

void TVexXPButton::EndHot() {
  if (!FHot) return;
  FHot = false;
  Invalidate();
}

LRESULT TVexXPButton::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_MOUSEMOVE:
      MouseMoved();
      return DefaultProc(msg, wp, lp);  // OnMouseMove only on entering the hot look
    case WM_MOUSELEAVE:
      EndHot();
      return 0;
    case WM_LBUTTONDBLCLK:
      // A double click is two presses, not one press and a double-click notice.
      return DefaultProc(WM_LBUTTONDOWN, wp, lp);
    case BM_SETSTYLE:
      // The dialog manager makes the focused button a default push button on the way;
      // this one stays owner-drawn whatever it asks.
      return DefaultProc(msg, BS_OWNERDRAW, TRUE);
    case WM_ENABLE:
      Invalidate();
      break;
  }
  return TButton::WndProc(msg, wp, lp);
}
