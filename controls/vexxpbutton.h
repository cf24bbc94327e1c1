#pragma once
// The program's push button: a platform BUTTON, so it takes the focus and the dialog keys,
// whose every pixel comes from a 98 x 25 skin strip (or its 200 % drawing): a left cap, a
// right cap and a stretched middle chosen by state, the caption centred on top.
#include "ui/bitmap.h"
#include "ui/button.h"

class TVexXPButton : public TButton {
 public:
  static constexpr COLORREF DefaultDisabledColor = 0x94A2A5;

  explicit TVexXPButton(TWindow* parent);
  TVexXPButton(TWindow* parent, const RECT& bounds);

  // The skin strip to draw from, not owned (the theme's, say); nullptr: the built-in one.
  // The button takes the skin's height.
  void SetSkin(const TBitmap* skin);
  bool DropDown() const { return FDropDown; }
  void SetDropDown(bool on);
  COLORREF FontDisabledColor() const { return FFontDisabledColor; }
  void SetFontDisabledColor(COLORREF color);
  // Whether Enter presses this button now: the default button does, unless the focus
  // is on a plain platform push button, which then takes Enter itself.
  bool ActiveDefault() const;
  bool Hot() const { return FHot; }
  bool TakesEnter() const override { return ActiveDefault(); }


  // Paints the button in the given owner-draw item state (ODS_SELECTED, ODS_FOCUS,
  // ODS_DEFAULT, ODS_DISABLED), or its hot look, into any DC.
  void PaintState(HDC dc, UINT itemState, bool hot = false);

 // Skin columns of a frame at 100 %: the left cap, then the right cap (whose first column
  // is also the middle).
  struct TFrame {
    int Left, Right;
  };

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  void DrawItem(const DRAWITEMSTRUCT& item) override;
  void ScaleChanged() override;
  void Paint(TCanvas& canvas) override;
  void Click() override;

 private:
  // A skin that is gone (the theme ended) leaves the built-in one.
  static TBitmap BuiltInSkin();
  const TBitmap& Skin() const { return FSkin && !FSkin->Empty() ? *FSkin : FBuiltInSkin; }
  UINT CurrentState() const;
  // The skin's scale: 1 for the 100 % drawing, 2 for the 200 % one.
  int SkinZoom() const;
  void DrawScaledFrame(HDC dc, const RECT& r, TFrame frame, bool tiled) const;
  void DrawFrame(HDC dc, const RECT& r, TFrame frame, bool tiled) const;
  void DrawArrow(HDC dc, const RECT& r, bool disabled) const;
  void DrawCaption(HDC dc, const RECT& r, bool disabled) const;
  void MouseMoved();
  void EndHot();

  bool FDropDown = false;
  COLORREF FFontDisabledColor = DefaultDisabledColor;
  const TBitmap* FSkin = nullptr;
  TBitmap FBuiltInSkin;
  bool FHot = false;
  bool FPressed = false;
};
