#pragma once
// A plain container. With a frame colour it draws a one-pixel frame in its non-client
// area, so the coordinates of its children start inside the frame.
#include "ui/window.h"

class TPanel : public TWindow {
 public:
  explicit TPanel(TWindow* parent);
  void SetFrameColor(COLORREF color);

 protected:
  TPanel(TWindow* parent, const wchar_t* className);
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void PaintFrame(HDC dc);
  void Print(HDC dc, DWORD flags);

  bool FFramed = false;
  COLORREF FFrameColor = 0;
};
