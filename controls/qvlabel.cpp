#include "controls/qvlabel.h"

#include <string>

#include "sysutil/textconv.h"
#include "ui/memorydc.h"

namespace {

bool StrictlyInside(const RECT& r, int x, int y) {
  return r.left < x && x < r.right && r.top < y && y < r.bottom;
}

}  // namespace

TQvLabelBase::TQvLabelBase(TWindow* parent, const wchar_t* className, const RECT& bounds)
    : TCustomControl(parent, className, bounds) {}

TQvLabelBase::~TQvLabelBase() {
  StopThreadNow();
  // What the thread posted before it stopped has nobody to go to.
  if (Handle()) {
    MSG msg;
    while (PeekMessageW(&msg, Handle(), TQvLabelThread::ScrollStepMessage,
                        TQvLabelThread::ScrollEndMessage, PM_REMOVE)) {
    }
  }
  SetFocusControl(nullptr);
}

// --- properties ---

void TQvLabelBase::SetAutoSize(bool on) {
  if (on == FAutoSize) return;
  FAutoSize = on;
  AdjustBounds();
}

void TQvLabelBase::SetWordWrap(bool on) {
  if (on == FWordWrap) return;
  FWordWrap = on;
  AdjustBounds();
  Invalidate();
}

void TQvLabelBase::SetAutoSizeHeight(bool on) {
  if (on == FAutoSizeHeight) return;
  FAutoSizeHeight = on;
  AdjustBounds();
  Invalidate();
}

void TQvLabelBase::SetShowAccelChar(bool on) {
  if (on == FShowAccelChar) return;
  FShowAccelChar = on;
  Invalidate();
}

void TQvLabelBase::SetTransparent(bool on) {
  if (on == FTransparent) return;
  FTransparent = on;
  Invalidate();
}

void TQvLabelBase::SetLinkNormalColor(COLORREF color) {
  if (color == FLinkNormalColor) return;
  FLinkNormalColor = color;
  Invalidate();
}

void TQvLabelBase::SetLinkActiveColor(COLORREF color) {
  if (color == FLinkActiveColor) return;
  FLinkActiveColor = color;
  Invalidate();
}

void TQvLabelBase::SetLinkStyle(TFontStyles style) {
  if (style == FLinkStyle) return;
  FLinkStyle = style;
  Invalidate();
}

void TQvLabelBase::SetRotated(bool on) {
  if (on == FRotated) return;
  FRotated = on;
  ScrollSettingsChanged();
  AdjustBounds();
  Invalidate();
}

void TQvLabelBase::SetFocusControl(TWindow* control) {
  if (control == FFocusControl) return;
  if (FFocusControl) RemoveFreeNotification(FFocusControl);
  FFocusControl = control;
  if (control) FreeNotification(control);
}

void TQvLabelBase::Notification(TWindow* gone) {
  if (gone == FFocusControl) FFocusControl = nullptr;
}

// --- drawing ---

TQvTextStyle TQvLabelBase::Style() const {
  TQvTextStyle style;
  style.Font = Font();
  style.Link = {FLinkNormalColor, FLinkActiveColor, FLinkStyle, FHover, Font().Style()};
  style.ShowAccelChar = FShowAccelChar;
  style.Rotated = FRotated;
  style.Enabled = Enabled();
  return style;
}

UINT TQvLabelBase::PaintFlags() const {
  return DT_LEFT | DT_EXPANDTABS | (FWordWrap ? DT_WORDBREAK : 0);
}

void TQvLabelBase::DoDrawText(HDC dc, RECT& r, UINT flags) {
  FLayout.DoDrawText(dc, r, flags, Style(), FCaption);
}

void TQvLabelBase::EraseBackground(TCanvas& canvas) {
  if (FTransparent)
    PaintParentBackground(canvas);
  else
    TCustomControl::EraseBackground(canvas);
}

void TQvLabelBase::Paint(TCanvas& canvas) {
  RECT r = ClientRect();
  if (!FRotated) {
    RECT measured = r;
    DoDrawText(canvas.Handle(), measured, PaintFlags() | DT_CALCRECT);
    // Centred vertically; the division truncates toward zero, as the layouts expect.
    OffsetRect(&r, 0, (r.bottom - measured.bottom) / 2);
  }
  DoDrawText(canvas.Handle(), r, PaintFlags());
}

void TQvLabelBase::TextChanged() {
  Invalidate();
  AdjustBounds();
}

void TQvLabelBase::FontChanged() {
  TCustomControl::FontChanged();
  AdjustBounds();
}

void TQvLabelBase::AdjustBounds() {
  if (!FAutoSize || !Handle() || FCaption.empty()) return;
  const RECT r = MeasureCaption();
  // Turned text takes the measured line the other way round.
  if (FRotated && !FWordWrap)
    SetBounds(Left(), Top(), r.bottom, r.right);
  else
    SetBounds(Left(), Top(), r.right, r.bottom);
}

// --- pointer and keys ---

void TQvLabelBase::MouseMove(int x, int y) {
  const bool inside = StrictlyInside(LinkRect(), x, y);
  if (inside == FHover) return;
  FHover = inside;
  FRepaintOnLeave = inside;
  UpdateCursor();
  Repaint();
}

void TQvLabelBase::MouseLeave() { LinkLeave(); }

void TQvLabelBase::LinkLeave() {
  FHover = false;
  UpdateCursor();
  if (!FRepaintOnLeave) return;
  FRepaintOnLeave = false;
  Repaint();
}

void TQvLabelBase::CheckLinkLeave() {
  POINT p{};
  GetCursorPos(&p);
  ScreenToClient(Handle(), &p);
  if (!StrictlyInside(LinkRect(), p.x, p.y)) LinkLeave();
}

HCURSOR TQvLabelBase::Cursor() const { return LoadCursorW(nullptr, FHover ? IDC_HAND : IDC_ARROW); }

void TQvLabelBase::Click() {
  if (FHover) {
    LinkLeave();
    if (LinkCallBack) LinkCallBack(*this);
  }
  TCustomControl::Click();
}

bool TQvLabelBase::Accelerator(wchar_t ch) {
  if (!FFocusControl || !Enabled() || !FShowAccelChar || !HasCaptionAccelerator(ch)) return false;
  if (!IsWindowVisible(FFocusControl->Handle()) || !FFocusControl->Enabled()) return false;
  FFocusControl->SetFocus();
  return true;
}

// --- scrolling ---

TScrollSettings TQvLabelBase::CurrentScrollSettings() const {
  TScrollSettings settings = FScroll;
  settings.Extent = FRotated ? Height() : Width();
  return settings;
}

void TQvLabelBase::ScrollSettingsChanged() {
  if (FThread) FThread->SetSettings(CurrentScrollSettings());
}

void TQvLabelBase::SetScrollSpeed(int speed) {
  if (speed == FScroll.Speed) return;
  FScroll.Speed = speed;
  ScrollSettingsChanged();
}

void TQvLabelBase::SetScrollSpeedFaktor(double factor) {
  if (factor == FScroll.SpeedFaktor) return;
  FScroll.SpeedFaktor = factor;
  ScrollSettingsChanged();
}

void TQvLabelBase::SetScrollLeftToRight(bool on) {
  if (on == FScroll.LeftToRight) return;
  FScroll.LeftToRight = on;
  ScrollSettingsChanged();
}

RECT TQvLabelBase::MeasureCaption() {
  TMemoryDC screen;
  RECT r = ClientRect();
  DoDrawText(screen.Handle(), r, PaintFlags() | DT_CALCRECT);
  return r;
}

void TQvLabelBase::SetScrollText(bool on) {
  if (on == FScrollText) return;
  FScrollText = on;
  if (on)
    StartScrolling();
  else if (FThread)
    FThread->Terminate();
}

void TQvLabelBase::StartScrolling() {
  // A run switched off a moment ago may not have reported its end yet: it ends first.
  FinishThread();
  if (OnScrollStart) OnScrollStart(*this);
  FScrollCaption = FCaption;
  const int width = MeasureCaption().right;
  const int offset = FScroll.LeftToRight ? -width : (FRotated ? Height() : Width());
  FThread = std::make_unique<TQvLabelThread>(Handle(), ++FScrollGeneration,
                                             CurrentScrollSettings(), FScrollCount, width, offset);
  SetText("");
  FThread->Start();
}

void TQvLabelBase::ScrollStep(int offset) {
  SetText("<t" + std::to_string(offset) + ">" + FScrollCaption);
}

void TQvLabelBase::ScrollEnded(bool completed) {
  if (completed) {
    FScrollText = false;
    SetText(FScrollCaption);
    SetVisible(false);
  }
  FinishThread();
}

void TQvLabelBase::FinishThread() {
  if (!FThread) return;
  FThread.reset();  // waits for the thread, which has ended or is about to
  if (OnScrollEnd) OnScrollEnd(*this);
}

void TQvLabelBase::StopThreadNow() { FThread.reset(); }

LRESULT TQvLabelBase::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  const bool current = FThread && static_cast<LPARAM>(lp) == FThread->Generation();
  switch (msg) {
    case TQvLabelThread::ScrollStepMessage:
      if (current) ScrollStep(static_cast<int>(wp));
      return 0;
    case TQvLabelThread::ScrollEndMessage:
      if (current) ScrollEnded(wp != 0);
      return 0;
    case WM_SIZE:
      ScrollSettingsChanged();
      break;
    case WM_SETTEXT: {
      const LRESULT result = TCustomControl::WndProc(msg, wp, lp);
      // The text as stored; asking the window for it again would be two more messages.
      if (result)
        FCaption = lp ? Narrow(reinterpret_cast<const wchar_t*>(lp)) : std::string();
      else
        FCaption = Text();
      return result;
    }
    case WM_DESTROY:
      // The thread may post to this window only while it lives.
      StopThreadNow();
      break;
  }
  return TCustomControl::WndProc(msg, wp, lp);
}
