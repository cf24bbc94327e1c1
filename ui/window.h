#pragma once
// The base of every window of the program: one object per HWND, every message through
// the object's WndProc. Our own classes find their object in GWLP_USERDATA from
// WM_NCCREATE on; platform controls (BUTTON and the like) are subclassed the same way.
// The object owns its HWND; a parent never owns the objects of its children.
#include <windows.h>

#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "ui/canvas.h"
#include "ui/font.h"
#include "ui/gdiobject.h"

// A control without a window of its own, painted by the window it sits on
// (ui/graphiccontrol.h).
class TGraphicChild {
 public:
  virtual bool Visible() const = 0;
  virtual const RECT& BoundsRect() const = 0;
  // Paints onto `canvas`, whose origin is the child's top-left corner and whose drawing is
  // clipped to it.
  virtual void PaintInParent(TCanvas& canvas) = 0;
  // Takes its bounds and font from one display scale to another (TWindow::Rescale).
  virtual void Rescale(int fromDpi, int toDpi) = 0;
  // Pressed and let go inside its bounds: a child that takes clicks gets them instead of
  // its parent.
  virtual bool Clickable() const { return false; }
  virtual void Click() {}

 protected:
  ~TGraphicChild() = default;
};

class TWindow {
 public:
  TWindow(const TWindow&) = delete;
  TWindow& operator=(const TWindow&) = delete;
  virtual ~TWindow();

  static TWindow* FromHandle(HWND h);

  // Where an exception ends that a message handler let through: no exception may unwind
  // through Windows' own frames. The application sets it; without one the program ends.
  using TExceptionHandler = void (*)(std::exception_ptr error);
  static void SetExceptionHandler(TExceptionHandler handler);
  static void HandleException(std::exception_ptr error);

  HWND Handle() const { return FHandle; }
  TWindow* Parent() const { return FParent; }

  void SetBounds(int left, int top, int width, int height);
  void SetClientSize(int width, int height);
  // The window size that gives a client area of width x height with the current styles.
  SIZE FrameSizeFor(int width, int height) const;
  int Left() const;
  int Top() const;
  int Width() const;
  int Height() const;
  RECT ClientRect() const;

  void SetText(const std::string& text);
  std::string Text() const;
  void SetVisible(bool visible);
  bool Visible() const;
  void SetEnabled(bool enabled);
  bool Enabled() const;
  void SetFocus();
  bool Focused() const;
  void Invalidate();
  // Paints at once instead of at the next WM_PAINT.
  void Repaint();

  const TFont& Font() const { return FFont; }
  void SetFont(const TFont& font);
  void SetFontColor(COLORREF color);
  // The background; a window without a colour of its own shows its parent's.
  COLORREF Color() const;
  void SetColor(COLORREF color);

  // Paints the client area into any DC, as WM_PAINT and WM_PRINTCLIENT do.
  void PaintTo(HDC dc);

  // Accelerator: the "&" letter of the caption. True when the window acted on it.
  virtual bool Accelerator(wchar_t ch);
  // Enter or Esc that the focused control left alone, offered to every control of the
  // form in turn: a default or cancel button takes it. True when used up.
  virtual bool DialogKey(WPARAM) { return false; }
  // Offered every key message of the message loop that is meant for this top-level window
  // or one of its children, before it is translated. True when used up.
  virtual bool PreTranslate(MSG&) { return false; }

  // Window-less controls that paint on this window; they must go before it does.
  void AddGraphic(TGraphicChild* control) { FGraphics.push_back(control); }
  void RemoveGraphic(TGraphicChild* control) {
    std::erase(FGraphics, control);
    if (FPressedGraphic == control) FPressedGraphic = nullptr;
  }

  // Lays the window out at another display scale: its bounds (a child's), its font, its
  // window-less controls and its child windows, each taken back to 96 DPI and scaled
  // again, then ScaleChanged of the children and last its own. A top-level window keeps
  // its place and size: its form sizes it.
  void Rescale(int fromDpi, int toDpi);

  // Links two windows so that each hears through Notification when the other's object
  // goes (a label that hands its accelerator's focus to another control, say).
  void FreeNotification(TWindow* other);
  void RemoveFreeNotification(TWindow* other);

  std::function<void()> OnClick;
  std::function<void(int x, int y)> OnMouseMove;

 protected:
  explicit TWindow(TWindow* parent);

  // Creates a window of one of our own classes (registered on first use).
  // Made at `bounds`: every later move or size is a round of messages.
  void CreateOwn(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent,
                 UINT classStyle = 0, const RECT& bounds = {});
  // Creates a platform control and routes its messages through WndProc.
  void CreatePlatform(const wchar_t* className, DWORD style, DWORD exStyle,
                      const RECT& bounds = {});

  virtual LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT DefaultProc(UINT msg, WPARAM wp, LPARAM lp);

  virtual void EraseBackground(TCanvas& canvas);
  virtual void Paint(TCanvas&) {}
  virtual void Click();
  bool HasNonClientArea() const;
  // A WM_PAINT is due for the whole client area: drawing now (say, an owner-drawn button
  // on a focus change while its window is being shown) would be drawn over at once.
  bool PaintDueForAll() const;
  TGraphicChild* ClickableGraphicAt(POINT p) const;
  virtual void TextChanged() { Invalidate(); }
  // After Rescale: what was made for the old scale (pictures, measured layouts) is made
  // again.
  virtual void ScaleChanged() {}
  virtual void FontChanged();
  // Reflected from the parent: WM_COMMAND notifications, WM_CTLCOLOR* and, for owner-drawn
  // controls, WM_DRAWITEM. Windows may ask for a drawing outside WM_PAINT (Wine does on a
  // focus or state change), so DrawItem paints the whole control from the item state.
  virtual void Command(WORD) {}
  virtual void DrawItem(const DRAWITEMSTRUCT&) {}
  virtual HBRUSH CtlColor(HDC dc);

  bool HasCaptionAccelerator(wchar_t ch) const;
  // `gone` is being destroyed; a window linked by FreeNotification drops its pointers.
  virtual void Notification(TWindow*) {}

 private:
  static LRESULT CALLBACK OwnProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK PlatformProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp);
  void PaintBuffered();
  void PaintGraphics(HDC dc);
  void Detach();

  HWND FHandle = nullptr;
  WNDPROC FPlatformProc = nullptr;
  TWindow* FParent;
  TFont FFont;
  bool FHasColor = false;
  COLORREF FColor = 0;
  TGdiObject FBackground;  // brush for WM_CTLCOLOR* answers
  bool FMouseDown = false;
  std::vector<TGraphicChild*> FGraphics;
  TGraphicChild* FPressedGraphic = nullptr;  // the clickable child the mouse went down on
  std::vector<TWindow*> FFreeNotifies;
};
