#pragma once
// A control without a window of its own: it paints on its parent's canvas, inside its
// bounds. Plain text needs no window, and every window saved is a start-up saved.
#include <windows.h>

#include <functional>

#include "ui/canvas.h"
#include "ui/font.h"
#include "ui/window.h"

class TGraphicControl : public TGraphicChild {
 public:
  explicit TGraphicControl(TWindow* parent);
  TGraphicControl(const TGraphicControl&) = delete;
  TGraphicControl& operator=(const TGraphicControl&) = delete;
  virtual ~TGraphicControl();

  TWindow* Parent() const { return FParent; }

  void SetBounds(int left, int top, int width, int height);
  int Left() const { return FBounds.left; }
  int Top() const { return FBounds.top; }
  int Width() const { return FBounds.right - FBounds.left; }
  int Height() const { return FBounds.bottom - FBounds.top; }
  const RECT& BoundsRect() const override { return FBounds; }

  void SetVisible(bool visible);
  bool Visible() const override { return FVisible; }

  const TFont& Font() const { return FFont; }
  void SetFont(const TFont& font);
  void SetFontColor(COLORREF color);

  void Invalidate();
  // Paints at once onto the parent's window instead of waiting for its next WM_PAINT.
  void Repaint();
  // Paints the control with its parent's background into dc, its top-left corner at (0, 0).
  void PaintTo(HDC dc);
  void Rescale(int fromDpi, int toDpi) override;

 protected:
  // The canvas's origin is the control's top-left corner; drawing is clipped to it.
  virtual void Paint(TCanvas& canvas) = 0;
  virtual void FontChanged() { Invalidate(); }
  // After Rescale, as TWindow's.
  virtual void ScaleChanged() {}
  // Runs `paint` at once on the parent's window, with the origin at the control's corner
  // and drawing clipped to it.
  void PaintNow(const std::function<void(TCanvas&)>& paint);

 private:
  void PaintInParent(TCanvas& canvas) override { Paint(canvas); }

  TWindow* FParent;
  RECT FBounds{};
  bool FVisible = true;
  TFont FFont;
};
