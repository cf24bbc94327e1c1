#include "controls/veximagebutton.h"

#include <windowsx.h>

#include <algorithm>

#include "controls/artworkpicture.h"
#include "controls/vexdesign.h"
#include "ui/canvas.h"
#include "ui/offscreen.h"
#include "ui/scaling.h"
#include "ui/windowdc.h"

namespace {

enum TFrameIndex { frNormal, frHot, frPressed, frDisabled };

}  // namespace

TVexImageBaseButton::TVexImageBaseButton(TWindow* parent) : TButton(parent, BS_OWNERDRAW) {
  SetWindowLongW(Handle(), GWL_STYLE, GetWindowLongW(Handle(), GWL_STYLE) & ~WS_TABSTOP);
  TFont font("Arial", TFont::PointsHeight(8));
  SetFont(font);
  FActiveRight = Width();
}

TVexImageButton::TVexImageButton(TWindow* parent) : TVexImageBaseButton(parent) {
  SetImageIdent(0);
  SetTextIdent(-1);
  SetAutoSize(false);
  SetCaptionOverImage(true);
  SetFontDisabledColor(RGB(128, 128, 128));
  SetFontDisabled3D(true);
}

TVexHelpButton::TVexHelpButton(TWindow* parent) : TVexImageBaseButton(parent) {
  SetCaptionDef("Help");
  SetCaptionDeu("Hilfe");
  SetCaptionEng("Help");
  SetCaptionFra("Aide");
  SetCaptionSpa("Ayuda");
  SetImages(ArtworkPicture(Art::HelpStrip, 1, 4));
}

void TVexHelpButton::ScaleChanged() { SetImages(ArtworkPicture(Art::HelpStrip, 1, 4)); }

void TVexImageBaseButton::SetImages(const TBitmap& images) {
  FImages = images.Copy();
  Repaint();
}

void TVexImageBaseButton::SetTopBorderWidth(int lines) {
  lines = std::min(lines, Height() / 2);
  Change(FTopBorderWidth, lines);
}

const std::string& TVexImageBaseButton::ShownCaption() const {
  switch (FLanguage) {
    case lgGerman: return FCaptionDeu;
    case lgEnglish: return FCaptionEng;
    case lgFrench: return FCaptionFra;
    case lgSpanish: return FCaptionSpa;
    case lgDefault: break;
  }
  return FCaptionDef;
}

POINT TVexImageBaseButton::CursorInClient() const {
  POINT p{};
  GetCursorPos(&p);
  ScreenToClient(Handle(), &p);
  return p;
}

bool TVexImageBaseButton::InActiveArea(POINT p) const {
  return FImageIdent < p.x && p.x < FActiveRight && 0 < p.y && p.y < Height();
}

void TVexImageBaseButton::Click() {
  // Also a click by key counts only with the pointer over the picture or the caption.
  if (!InActiveArea(CursorInClient())) return;
  TButton::Click();
}

void TVexImageBaseButton::DrawItem(const DRAWITEMSTRUCT& item) {
  if (PaintDueForAll()) return;
  PaintOffScreen(item.hDC, item.rcItem, [&](HDC dc) { PaintState(dc, item.itemState); });
}

void TVexImageBaseButton::Paint(TCanvas& canvas) {
  UINT state = Enabled() ? 0 : ODS_DISABLED;
  if (SendMessageW(Handle(), BM_GETSTATE, 0, 0) & BST_PUSHED) state |= ODS_SELECTED;
  PaintState(canvas.Handle(), state);
}

RECT TVexImageBaseButton::DrawBorders(HDC dc) const {
  RECT r{0, 0, Width(), Height()};
  TCanvas canvas(dc);
  for (int i = 0; i < FTopBorderWidth; ++i) {
    canvas.Line(r.left, r.top + i, r.right, r.top + i, FTopBorderColor);
    canvas.Line(r.left, r.bottom - 1 - i, r.right, r.bottom - 1 - i, FTopBorderColor);
  }
  r.top += FTopBorderWidth;
  r.bottom -= FTopBorderWidth;
  return r;
}

void TVexImageBaseButton::DrawFrame(HDC dc, const RECT& r, int frame) const {
  if (FImages.Empty()) return;
  TMemoryDC source(dc);
  source.Select(FImages.Handle());
  const int fh = FrameHeight();
  if (FStretchImage) {
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, source.Handle(), 0,
               frame * fh, FImages.Width(), fh, SRCCOPY);
  } else {
    BitBlt(dc, r.left + FImageIdent, r.top, FImages.Width(), fh, source.Handle(), 0, frame * fh,
           SRCCOPY);
  }
}

void TVexImageBaseButton::PaintState(HDC dc, UINT itemState) {
  FHot = false;
  const bool enabled = !(itemState & ODS_DISABLED);
  FPressedLook = (itemState & ODS_SELECTED) && InActiveArea(CursorInClient());
  const RECT r = DrawBorders(dc);
  {
    TCanvas canvas(dc);
    canvas.FillRect(r, FPressedLook && enabled ? FHighlightColor : FButtonColor);
  }
  DrawFrame(dc, r, !enabled ? frDisabled : FPressedLook ? frPressed : frNormal);
  DrawCaption(dc, enabled);
}

// Where the caption goes, with the width and active area it asks for; false without one.
bool TVexImageBaseButton::FitCaption(HDC dc, bool enabled, POINT& at) {
  const std::string& caption = ShownCaption();
  if (!FShowCaption || caption.empty()) {
    const int width = FImages.Width() + FImageIdent;
    if (width != Width()) SetBounds(Left(), Top(), width, Height());
    FActiveRight = width;
    return false;
  }
  TCanvas canvas(dc);
  canvas.SetFont(Font());
  const SIZE text = canvas.TextExtent(caption);
  const int t = FTextIdent < 0 ? (Width() - text.cx) / 2 : FTextIdent;
  const int p = FCaptionOverImage ? 0 : FImages.Width() + FImageIdent;
  if (FAutoSize) {
    FActiveRight = p + t + text.cx;
    const int width = FActiveRight + (enabled ? 2 : 1);
    if (width != Width()) SetBounds(Left(), Top(), width, Height());
  } else {
    FActiveRight = Width();
  }
  at = {p + t, (Height() - text.cy) / 2};
  return true;
}

void TVexImageBaseButton::AdjustSize() {
  TMemoryDC dc;
  POINT at{};
  FitCaption(dc.Handle(), Enabled(), at);
}

void TVexImageBaseButton::DrawCaption(HDC dc, bool enabled) {
  POINT at{};
  if (!FitCaption(dc, enabled, at)) return;
  TCanvas canvas(dc);
  canvas.SetFont(Font());
  const std::string& caption = ShownCaption();
  if (enabled) {
    canvas.TextOut(at.x, at.y, caption);
    return;
  }
  if (FFontDisabled3D) {
    SetTextColor(dc, RGB(255, 255, 255));
    canvas.TextOut(at.x + 1, at.y + 1, caption);
  }
  SetTextColor(dc, FFontDisabledColor);
  canvas.TextOut(at.x, at.y, caption);
}

void TVexImageBaseButton::MouseMoved(POINT p) {
  TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Handle(), 0};
  TrackMouseEvent(&track);
  if (FHot || FPressedLook) {
    if (!InActiveArea(p)) {
      FPressedLook = false;
      if (FHot) {
        FHot = false;
        Invalidate();
      }
    }
    return;
  }
  if (!InActiveArea(p)) return;
  const TClientDC dc(Handle());
  const RECT r = DrawBorders(dc.Handle());
  if (FHighlightColor != FButtonColor && FShowCaption && FTextIdent > 0 && FImageIdent > 0) {
    TCanvas canvas(dc.Handle());
    canvas.FillRect(r, FHighlightColor);
  }
  DrawFrame(dc.Handle(), r, frHot);
  DrawCaption(dc.Handle(), true);
  FHot = true;
}

LRESULT TVexImageBaseButton::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_MOUSEMOVE:
      if (!Enabled()) return DefaultProc(msg, wp, lp);  // no OnMouseMove either
      MouseMoved({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      break;
    case WM_MOUSELEAVE:
      if (FHot && Enabled()) {
        FHot = false;
        Invalidate();
      }
      return 0;
    case WM_LBUTTONDBLCLK:
      return DefaultProc(WM_LBUTTONDOWN, wp, lp);
    case BM_SETSTYLE:
      return 0;  // never a default push button: it stays owner-drawn
    case WM_ENABLE:
      Repaint();
      break;
  }
  return TButton::WndProc(msg, wp, lp);
}
