#include "ui/window.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "sysutil/textconv.h"
#include "ui/gdiobject.h"
#include "ui/offscreen.h"
#include "ui/screencursor.h"
#include "ui/scaling.h"
#include "ui/windowdc.h"

namespace {

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

void RegisterOwnClass(const wchar_t* name, WNDPROC proc, UINT style) {
  WNDCLASSEXW existing{sizeof(existing)};
  if (GetClassInfoExW(Instance(), name, &existing)) return;
  WNDCLASSEXW wc{sizeof(wc)};
  wc.style = style;
  wc.lpfnWndProc = proc;
  wc.hInstance = Instance();
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = name;
  RegisterClassExW(&wc);
}

// As the dialog manager makes its controls: nothing here listens to WM_PARENTNOTIFY, and
// each child would send one to every ancestor when it is made, clicked and destroyed.
constexpr DWORD ChildExStyle = WS_EX_NOPARENTNOTIFY;

// Child IDs above IDCANCEL and friends, so no control is mistaken for a dialog command.
HMENU NextChildId() {
  static UINT_PTR next = 1000;
  return reinterpret_cast<HMENU>(next++);
}

}  // namespace

TWindow::TWindow(TWindow* parent) : FParent(parent) {
  if (!parent) return;
  parent->FFont.Handle();  // made once here, shared by every child that keeps it
  FFont = parent->FFont;
}

TWindow::~TWindow() {
  for (TWindow* other : std::exchange(FFreeNotifies, {})) {
    std::erase(other->FFreeNotifies, this);
    other->Notification(this);
  }
  if (!FHandle) return;
  HWND h = FHandle;
  Detach();
  DestroyWindow(h);
}

TWindow* TWindow::FromHandle(HWND h) {
  if (!h) return nullptr;
  // Only windows whose procedure is ours carry our pointer; any other window's user data
  // belongs to someone else.
  const auto proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(h, GWLP_WNDPROC));
  if (proc != &OwnProc && proc != &PlatformProc) return nullptr;
  return reinterpret_cast<TWindow*>(GetWindowLongPtrW(h, GWLP_USERDATA));
}

namespace {
TWindow::TExceptionHandler ExceptionHandler = nullptr;
}  // namespace

void TWindow::SetExceptionHandler(TExceptionHandler handler) { ExceptionHandler = handler; }

void TWindow::HandleException(std::exception_ptr error) {
  if (!ExceptionHandler) std::terminate();
  ExceptionHandler(error);
}

void TWindow::CreateOwn(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent,
                        UINT classStyle, const RECT& bounds) {
  RegisterOwnClass(className, &OwnProc, classStyle);
  const bool child = (style & WS_CHILD) != 0;
  CreateWindowExW(child ? exStyle | ChildExStyle : exStyle, className, L"", style, bounds.left,
                  bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                  child ? NextChildId() : nullptr, Instance(), this);
}

void TWindow::CreatePlatform(const wchar_t* className, DWORD style, DWORD exStyle,
                             const RECT& bounds) {
  HWND parent = FParent ? FParent->Handle() : nullptr;
  FHandle = CreateWindowExW(exStyle | ChildExStyle, className, L"", style | WS_CHILD, bounds.left,
                            bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                            parent, NextChildId(), Instance(), nullptr);
  if (!FHandle) return;
  SetWindowLongPtrW(FHandle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  FPlatformProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(FHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PlatformProc)));
  FontChanged();
}

LRESULT CALLBACK TWindow::OwnProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<TWindow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->FHandle = h;
    SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  TWindow* self = reinterpret_cast<TWindow*>(GetWindowLongPtrW(h, GWLP_USERDATA));
  return self ? self->Dispatch(msg, wp, lp) : DefWindowProcW(h, msg, wp, lp);
}

LRESULT CALLBACK TWindow::PlatformProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  TWindow* self = reinterpret_cast<TWindow*>(GetWindowLongPtrW(h, GWLP_USERDATA));
  return self ? self->Dispatch(msg, wp, lp) : DefWindowProcW(h, msg, wp, lp);
}

LRESULT TWindow::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
  // No exception may unwind through Windows' own frames on the way back to the loop.
  if (msg == WM_SETCURSOR && ScreenCursor()) {
    SetCursor(ScreenCursor());
    return TRUE;
  }
  if (msg != WM_NCDESTROY) {
    try {
      return WndProc(msg, wp, lp);
    } catch (...) {
      HandleException(std::current_exception());
      return 0;
    }
  }
  // The window is going (with its parent, say) while the object lives on.
  const LRESULT result = DefaultProc(msg, wp, lp);
  Detach();
  return result;
}

void TWindow::Detach() {
  if (!FHandle) return;
  if (FPlatformProc)
    SetWindowLongPtrW(FHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FPlatformProc));
  SetWindowLongPtrW(FHandle, GWLP_USERDATA, 0);
  FHandle = nullptr;
}

LRESULT TWindow::DefaultProc(UINT msg, WPARAM wp, LPARAM lp) {
  return FPlatformProc ? CallWindowProcW(FPlatformProc, FHandle, msg, wp, lp)
                       : DefWindowProcW(FHandle, msg, wp, lp);
}

LRESULT TWindow::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  const bool own = FPlatformProc == nullptr;
  switch (msg) {
    case WM_ERASEBKGND:
      if (own) return 1;  // painted with everything else from the back buffer
      break;
    case WM_NCPAINT:
      // Nothing lies outside the client area of a window without frame or scroll bars, yet
      // the default handling does a round of region work for each of them when shown.
      if (own && !HasNonClientArea()) return 0;
      break;
    case WM_PAINT:
      if (own) {
        PaintBuffered();
        return 0;
      }
      break;
    case WM_PRINTCLIENT:
      if (own) {
        PaintTo(reinterpret_cast<HDC>(wp));
        return 0;
      }
      break;
    case WM_COMMAND:
      if (TWindow* child = FromHandle(reinterpret_cast<HWND>(lp))) {
        child->Command(HIWORD(wp));
        return 0;
      }
      break;
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (TWindow* child = FromHandle(item.hwndItem)) {
        child->DrawItem(item);
        return TRUE;
      }
      break;
    }
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      if (TWindow* child = FromHandle(reinterpret_cast<HWND>(lp)))
        return reinterpret_cast<LRESULT>(child->CtlColor(reinterpret_cast<HDC>(wp)));
      break;
    case WM_MOUSEMOVE:
      if (OnMouseMove) OnMouseMove(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      break;
    case WM_LBUTTONDOWN:
      if (own) {
        FMouseDown = true;
        FPressedGraphic = ClickableGraphicAt(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        SetCapture(FHandle);
      }
      break;
    case WM_LBUTTONUP:
      if (own && FMouseDown) {
        FMouseDown = false;
        ReleaseCapture();
        const POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        TGraphicChild* pressed = std::exchange(FPressedGraphic, nullptr);
        const RECT r = pressed ? pressed->BoundsRect() : ClientRect();
        if (PtInRect(&r, p)) pressed ? pressed->Click() : Click();
        return 0;
      }
      break;
    case WM_CAPTURECHANGED:
      FMouseDown = false;
      break;
  }
  return DefaultProc(msg, wp, lp);
}

// Only what Windows asks for and can show: a window wholly covered by its children (a form
// under its notebook, a notebook under its page) paints nothing, and a progress step
// repaints the bar and its line, not the whole box around them.
void TWindow::PaintBuffered() {
  const TPaintDC paint(FHandle);
  RECT area;
  const int clip = GetClipBox(paint.Handle(), &area);
  if (clip == NULLREGION) return;
  if (clip == ERROR) area = ClientRect();
  PaintOffScreen(paint.Handle(), area, [this](HDC dc) { PaintTo(dc); });
}

void TWindow::PaintTo(HDC dc) {
  {
    TCanvas canvas(dc);
    EraseBackground(canvas);
    Paint(canvas);
  }
  PaintGraphics(dc);
}

TGraphicChild* TWindow::ClickableGraphicAt(POINT p) const {
  // The last painted lies on top.
  for (auto it = FGraphics.rbegin(); it != FGraphics.rend(); ++it)
    if ((*it)->Visible() && (*it)->Clickable() && PtInRect(&(*it)->BoundsRect(), p)) return *it;
  return nullptr;
}

void TWindow::PaintGraphics(HDC dc) {
  // Those outside what the DC can show are not drawn at all: a progress step's repaint of
  // its line leaves the box's other texts alone.
  RECT shown{};
  const bool clipped = GetClipBox(dc, &shown) != ERROR;
  for (TGraphicChild* control : FGraphics) {
    if (!control->Visible()) continue;
    const RECT& r = control->BoundsRect();
    RECT overlap;
    if (clipped && !IntersectRect(&overlap, &r, &shown)) continue;
    TCanvas canvas(dc);  // puts clip and origin back when done
    IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
    OffsetViewportOrgEx(dc, r.left, r.top, nullptr);
    control->PaintInParent(canvas);
  }
}

bool TWindow::PaintDueForAll() const {
  const TGdiObject due(CreateRectRgn(0, 0, 0, 0));
  RECT box{};
  const RECT client = ClientRect();
  // One rectangle, and that the whole client area.
  return due && GetUpdateRgn(FHandle, static_cast<HRGN>(due.Get()), FALSE) == SIMPLEREGION &&
         GetRgnBox(static_cast<HRGN>(due.Get()), &box) == SIMPLEREGION && EqualRect(&box, &client);
}

bool TWindow::HasNonClientArea() const {
  constexpr LONG_PTR Frames = WS_BORDER | WS_DLGFRAME | WS_THICKFRAME | WS_HSCROLL | WS_VSCROLL;
  constexpr LONG_PTR Edges = WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME;
  return (GetWindowLongPtrW(FHandle, GWL_STYLE) & Frames) ||
         (GetWindowLongPtrW(FHandle, GWL_EXSTYLE) & Edges);
}

void TWindow::EraseBackground(TCanvas& canvas) { canvas.FillRect(ClientRect(), Color()); }

void TWindow::Click() {
  if (OnClick) OnClick();
}

HBRUSH TWindow::CtlColor(HDC dc) {
  const COLORREF color = Color();
  SetTextColor(dc, FFont.Color());
  SetBkColor(dc, color);
  LOGBRUSH current{};
  if (!FBackground || (GetObjectW(FBackground.Get(), sizeof(current), &current) &&
                       current.lbColor != color))
    FBackground.Reset(CreateSolidBrush(color));
  return static_cast<HBRUSH>(FBackground.Get());
}

void TWindow::FontChanged() {
  if (FPlatformProc) SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(FFont.Handle()), TRUE);
  Invalidate();
}

namespace {

RECT RectInParent(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  if (HWND parent = GetParent(h); parent && (GetWindowLongW(h, GWL_STYLE) & WS_CHILD))
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

}  // namespace

void TWindow::SetBounds(int left, int top, int width, int height) {
  // Even a move to where the window is costs a round of messages.
  const RECT r = RectInParent(FHandle);
  if (r.left == left && r.top == top && r.right - r.left == width && r.bottom - r.top == height)
    return;
  MoveWindow(FHandle, left, top, width, height, TRUE);
}

SIZE TWindow::FrameSizeFor(int width, int height) const {
  RECT r{0, 0, width, height};
  AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongW(FHandle, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongW(FHandle, GWL_EXSTYLE)));
  return {r.right - r.left, r.bottom - r.top};
}

void TWindow::SetClientSize(int width, int height) {
  const SIZE size = FrameSizeFor(width, height);
  SetWindowPos(FHandle, nullptr, 0, 0, size.cx, size.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int TWindow::Left() const { return RectInParent(FHandle).left; }
int TWindow::Top() const { return RectInParent(FHandle).top; }
int TWindow::Width() const {
  const RECT r = RectInParent(FHandle);
  return r.right - r.left;
}
int TWindow::Height() const {
  const RECT r = RectInParent(FHandle);
  return r.bottom - r.top;
}

RECT TWindow::ClientRect() const {
  RECT r{};
  GetClientRect(FHandle, &r);
  return r;
}

void TWindow::SetText(const std::string& text) {
  SetWindowTextW(FHandle, Widen(text).c_str());
  TextChanged();
}

std::string TWindow::Text() const {
  std::wstring w(static_cast<size_t>(GetWindowTextLengthW(FHandle)) + 1, L'\0');
  w.resize(static_cast<size_t>(GetWindowTextW(FHandle, w.data(), static_cast<int>(w.size()))));
  return Narrow(w);
}

void TWindow::SetVisible(bool visible) { ShowWindow(FHandle, visible ? SW_SHOW : SW_HIDE); }

bool TWindow::Visible() const { return (GetWindowLongW(FHandle, GWL_STYLE) & WS_VISIBLE) != 0; }

void TWindow::SetEnabled(bool enabled) {
  EnableWindow(FHandle, enabled);
  Invalidate();
}

bool TWindow::Enabled() const { return IsWindowEnabled(FHandle) != FALSE; }

void TWindow::SetFocus() { ::SetFocus(FHandle); }

bool TWindow::Focused() const { return FHandle && GetFocus() == FHandle; }

void TWindow::Invalidate() { InvalidateRect(FHandle, nullptr, TRUE); }

void TWindow::Repaint() {
  if (!FHandle) return;
  Invalidate();
  UpdateWindow(FHandle);
}

void TWindow::Rescale(int fromDpi, int toDpi) {
  if (fromDpi == toDpi) return;
  if (GetWindowLongW(FHandle, GWL_STYLE) & WS_CHILD) {
    const RECT r = Rescaled(RectInParent(FHandle), fromDpi, toDpi);
    SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
  }
  TFont font = FFont;
  font.SetHeight(TFont::RescaledHeight(font.Height(), fromDpi, toDpi));
  SetFont(font);
  for (TGraphicChild* graphic : std::vector<TGraphicChild*>(FGraphics))
    graphic->Rescale(fromDpi, toDpi);
  for (HWND child = GetWindow(FHandle, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (TWindow* window = FromHandle(child)) window->Rescale(fromDpi, toDpi);
  ScaleChanged();
  Invalidate();
}

void TWindow::SetFont(const TFont& font) {
  FFont = font;
  FontChanged();
}

void TWindow::SetFontColor(COLORREF color) {
  FFont.SetColor(color);
  Invalidate();
}

COLORREF TWindow::Color() const {
  if (FHasColor) return FColor;
  return FParent ? FParent->Color() : GetSysColor(COLOR_BTNFACE);
}

void TWindow::SetColor(COLORREF color) {
  FHasColor = true;
  FColor = color;
  Invalidate();
}

bool TWindow::Accelerator(wchar_t) { return false; }

void TWindow::FreeNotification(TWindow* other) {
  if (!other || other == this || std::ranges::find(FFreeNotifies, other) != FFreeNotifies.end())
    return;
  FFreeNotifies.push_back(other);
  other->FFreeNotifies.push_back(this);
}

void TWindow::RemoveFreeNotification(TWindow* other) {
  if (!other) return;
  std::erase(FFreeNotifies, other);
  std::erase(other->FFreeNotifies, this);
}

bool TWindow::HasCaptionAccelerator(wchar_t ch) const {
  const std::wstring text = Widen(Text());
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != L'&') continue;
    if (text[i + 1] == L'&') {
      ++i;
      continue;
    }
    return CharUpperW(reinterpret_cast<wchar_t*>(static_cast<ULONG_PTR>(text[i + 1]))) ==
           CharUpperW(reinterpret_cast<wchar_t*>(static_cast<ULONG_PTR>(ch)));
  }
  return false;
}
