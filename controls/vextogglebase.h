#pragma once
// What the check box and the radio button share: a 13 x 13 glyph (at 100 %) at the top
// left, chosen by value and look, the caption right of it with an optional focus frame, and
// the rules by which the pointer and the Space key press and release them. Only the glyph and the
// caption react to the pointer, not the empty rest of the control.
#include <functional>

#include "controls/artwork.h"
#include "ui/bitmap.h"
#include "ui/customcontrol.h"

class TVexToggleBase : public TCustomControl {
 public:
  static constexpr COLORREF DefaultDisabledColor = 0x94A2A5;
  static constexpr int GlyphSize = 13;

  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool on) { FReadOnly = on; }
  bool ShowFocusFrame() const { return FShowFocusFrame; }
  void SetShowFocusFrame(bool on);
  COLORREF FontDisabledColor() const { return FFontDisabledColor; }
  void SetFontDisabledColor(COLORREF color);
  // The part of the control, from its left edge, that answers the pointer.
  int ActiveWidth() const { return FActiveWidth; }
  bool Hot() const { return FHot; }

  // Pointer button (VK_LBUTTON, VK_RBUTTON, VK_MBUTTON) and client position.
  std::function<void(int button, int x, int y)> OnMouseDown;
  std::function<void(int button, int x, int y)> OnMouseUp;

 protected:
  enum TLook { lkNormal, lkHot, lkPressed, lkDisabled, LookCount };

  // `glyphs`: a sheet of 13 x 13 cells, a column per look and `rows` rows.
  TVexToggleBase(TWindow* parent, const wchar_t* className, const TArtwork& glyphs, int rows,
                 const RECT& bounds);

  // The glyph sheet's row for the current value.
  virtual int GlyphRow() const = 0;
  // The active width when the caption is blank.
  virtual int BlankActiveWidth() const = 0;
  // A release of `button` inside the control, which is enabled and not read-only.
  virtual void Released(int button) = 0;
  // Space released on a control that is not read-only.
  virtual void SpaceReleased() = 0;
  // The value as BM_GETCHECK and BM_SETCHECK give it (BST_UNCHECKED, BST_CHECKED,
  // BST_INDETERMINATE), so that automation and accessibility tools can read and set it.
  virtual int CheckValue() const = 0;
  virtual void SetCheckValue(int value) = 0;
  virtual void FocusGained() {}
  virtual void FocusLost() {}
  // Whether a press has turned on the pressed look; the check box publishes it as Down.
  bool Pressed() const { return FPressed; }
  void SetPressed(bool on);

  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  void Paint(TCanvas& canvas) override;
  void MouseMove(int x, int y) override;
  void MouseLeave() override;
  void ScaleChanged() override;

 private:
  bool Inside(int x, int y) const;
  bool StrictlyInside(int x, int y) const;
  void DrawGlyph(HDC dc, TLook look) const;
  void ButtonDown(int button, int x, int y);
  void ButtonUp(int button, int x, int y);

  const TArtwork& FArt;
  int FRows;
  // The sheet at the screen's scale; key-coloured pixels see-through.
  TBitmap FGlyphs;
  bool FReadOnly = false;
  bool FShowFocusFrame = true;
  COLORREF FFontDisabledColor = DefaultDisabledColor;
  bool FPressed = false;
  bool FFocused = false;
  bool FHot = false;
  bool FHotDrawn = false;
  bool FCaptured = false;
  int FActiveWidth;
};
