#pragma once
// A control with a window of its own class: it paints through the buffered path, hears
// the pointer arrive and leave (TrackMouseEvent, which Windows 2000 has), and chooses the
// cursor shown over it. Controls that react to the pointer stand on it.
#include "ui/window.h"

class TCustomControl : public TWindow {
 public:
  // `style` adds to a visible child's (WS_TABSTOP, say).
  TCustomControl(TWindow* parent, const wchar_t* className, const RECT& bounds = {},
                 DWORD style = 0);

  bool MouseInside() const { return FMouseInside; }

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

  virtual void MouseEnter() {}
  virtual void MouseLeave() {}
  // Before OnMouseMove; client coordinates of the message.
  virtual void MouseMove(int, int) {}
  // The cursor over the client area; nullptr shows the class cursor (the arrow).
  virtual HCURSOR Cursor() const { return nullptr; }
  // Shows Cursor() at once when the pointer is over the control, without waiting for
  // the pointer to move.
  void UpdateCursor() const;
  // What the parent paints beneath this control, for controls that let it show through.
  void PaintParentBackground(TCanvas& canvas);

 private:
  bool FMouseInside = false;
};
