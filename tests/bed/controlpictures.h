#pragma once
// Shared by the control tests: a test form, pictures of controls and the real pointer.
#include <windows.h>

#include "tests/bed/uitest.h"
#include "ui/bitmap.h"
#include "ui/canvas.h"
#include "ui/form.h"
#include "ui/graphiccontrol.h"

class TControlTestForm : public TForm {
 public:
  explicit TControlTestForm(COLORREF color = RGB(255, 255, 255))
      : TForm(L"TControlTestForm", FixedDialogStyle) {
    SetClientSize(400, 240);
    SetColor(color);
    SetBounds(0, 0, Width(), Height());
    Show();
    SetForegroundWindow(Handle());
  }
};

// The window painted through its paint routine into a picture of its size.
inline TBitmap Picture(TWindow& window) {
  TBitmap picture(window.Width(), window.Height());
  {
    TBitmapCanvas canvas(picture);
    window.PaintTo(canvas.Canvas().Handle());
  }
  GdiFlush();
  return picture;
}

inline TBitmap Picture(TGraphicControl& control) {
  TBitmap picture(control.Width(), control.Height());
  {
    TBitmapCanvas canvas(picture);
    control.PaintTo(canvas.Canvas().Handle());
  }
  GdiFlush();
  return picture;
}

inline int Count(const TBitmap& picture, COLORREF color) {
  int n = 0;
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x) n += picture.Pixel(x, y) == color;
  return n;
}

// Moves the real pointer over a client point of `window`; Wine sends the mouse messages.
// Wine moves the pointer only for the foreground process, which a test can lose to a
// window of another test: it takes the foreground back and checks that the pointer moved.
inline void PointerTo(const TWindow& window, int x, int y) {
  POINT p{x, y};
  ClientToScreen(window.Handle(), &p);
  for (int attempt = 0; attempt < 10; ++attempt) {
    SetForegroundWindow(GetAncestor(window.Handle(), GA_ROOT));
    SetCursorPos(p.x, p.y);
    PumpFor(20);
    POINT now{};
    GetCursorPos(&now);
    if (now.x == p.x && now.y == p.y) break;
  }
  PumpFor(100);
}

// Over a point of a control without a window: its place in its parent's client area.
inline void PointerTo(const TGraphicControl& control, int x, int y) {
  PointerTo(*control.Parent(), control.Left() + x, control.Top() + y);
}

inline void ClickPointer(bool right = false) {
  INPUT input[2]{};
  input[0].type = input[1].type = INPUT_MOUSE;
  input[0].mi.dwFlags = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
  input[1].mi.dwFlags = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
  SendInput(2, input, sizeof(INPUT));
  PumpFor(100);
}

// Keys through the keyboard driver, so the key state sees them too.
inline void TypeKeys(std::initializer_list<std::pair<WORD, bool>> keys) {
  for (const auto& [key, down] : keys) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof(INPUT));
  }
  PumpFor(100);
}
