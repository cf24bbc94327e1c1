#pragma once
// Owner-drawn push buttons that show a picture from a four-frame strip (normal, hot,
// pressed, disabled, stacked top to bottom) and a caption in one of five languages. Only
// the part from the picture's left offset to the end of the caption answers the pointer.
#include <string>

#include "sysutil/language.h"
#include "ui/bitmap.h"
#include "ui/button.h"

class TVexImageBaseButton : public TButton {
 public:
  const TBitmap& Images() const { return FImages; }
  // Keeps a copy.
  void SetImages(const TBitmap& images);

  COLORREF ButtonColor() const { return FButtonColor; }
  void SetButtonColor(COLORREF color) { Change(FButtonColor, color); }
  COLORREF HighlightColor() const { return FHighlightColor; }
  void SetHighlightColor(COLORREF color) { Change(FHighlightColor, color); }
  TLanguage Language() const { return FLanguage; }
  void SetLanguage(TLanguage language) { Change(FLanguage, language); }
  void SetCaptionDef(const std::string& text) { Change(FCaptionDef, text); }
  void SetCaptionDeu(const std::string& text) { Change(FCaptionDeu, text); }
  void SetCaptionEng(const std::string& text) { Change(FCaptionEng, text); }
  void SetCaptionFra(const std::string& text) { Change(FCaptionFra, text); }
  void SetCaptionSpa(const std::string& text) { Change(FCaptionSpa, text); }
  // The caption of the chosen language; the window text is not shown.
  const std::string& ShownCaption() const;
  int ImageIdent() const { return FImageIdent; }
  void SetImageIdent(int pixels) { Change(FImageIdent, pixels); }
  // The gap between picture and caption; negative centres the caption in the button.
  int TextIdent() const { return FTextIdent; }
  void SetTextIdent(int pixels) { Change(FTextIdent, pixels); }
  COLORREF TopBorderColor() const { return FTopBorderColor; }
  void SetTopBorderColor(COLORREF color) { Change(FTopBorderColor, color); }
  // Lines at the top and at the bottom; at most half the height.
  int TopBorderWidth() const { return FTopBorderWidth; }
  void SetTopBorderWidth(int lines);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool on) { Change(FAutoSize, on); }
  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool on) { Change(FShowCaption, on); }
  bool CaptionOverImage() const { return FCaptionOverImage; }
  void SetCaptionOverImage(bool on) { Change(FCaptionOverImage, on); }
  COLORREF FontDisabledColor() const { return FFontDisabledColor; }
  void SetFontDisabledColor(COLORREF color) { Change(FFontDisabledColor, color); }
  bool FontDisabled3D() const { return FFontDisabled3D; }
  void SetFontDisabled3D(bool on) { Change(FFontDisabled3D, on); }
  bool StretchImage() const { return FStretchImage; }
  void SetStretchImage(bool on) { Change(FStretchImage, on); }
  // The right end of the part that answers the pointer.
  int ActiveRight() const { return FActiveRight; }
  bool Hot() const { return FHot; }

  // Takes the width that AutoSize gives the caption now, before the next paint would.
  void AdjustSize();

  // Paints the button in the given owner-draw item state into any DC.
  void PaintState(HDC dc, UINT itemState);

 protected:
  explicit TVexImageBaseButton(TWindow* parent);

  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  void DrawItem(const DRAWITEMSTRUCT& item) override;
  void Paint(TCanvas& canvas) override;
  void Click() override;

 private:
  template <typename T>
  void Change(T& field, const T& value) {
    if (field == value) return;
    field = value;
    Repaint();
  }
  // Between the picture's left offset and the caption's end, strictly inside the height.
  bool InActiveArea(POINT p) const;
  POINT CursorInClient() const;
  int FrameHeight() const { return FImages.Height() / 4; }
  RECT DrawBorders(HDC dc) const;
  void DrawFrame(HDC dc, const RECT& r, int frame) const;
  bool FitCaption(HDC dc, bool enabled, POINT& at);
  void DrawCaption(HDC dc, bool enabled);
  void MouseMoved(POINT p);

  TBitmap FImages;
  COLORREF FButtonColor = RGB(255, 255, 255);
  COLORREF FHighlightColor = RGB(255, 255, 255);
  TLanguage FLanguage = lgDefault;
  std::string FCaptionDef = "Default";
  std::string FCaptionDeu = "Deutsch";
  std::string FCaptionEng = "English";
  std::string FCaptionFra = "Fran\xC3\xA7" "ais";
  std::string FCaptionSpa = "Espa\xC3\xB1ol";
  int FImageIdent = 5;
  int FTextIdent = 5;
  COLORREF FTopBorderColor = RGB(255, 255, 255);
  int FTopBorderWidth = 0;
  bool FAutoSize = true;
  bool FShowCaption = true;
  bool FCaptionOverImage = false;
  COLORREF FFontDisabledColor = RGB(0, 0, 0);
  bool FFontDisabled3D = false;
  bool FStretchImage = false;
  bool FHot = false;
  bool FPressedLook = false;
  int FActiveRight;
};

// Every option, with the caption centred over the picture by default.
class TVexImageButton : public TVexImageBaseButton {
 public:
  explicit TVexImageButton(TWindow* parent);
};

// A help button with its own round question-mark picture and "Help" in five languages.
class TVexHelpButton : public TVexImageBaseButton {
 public:
  explicit TVexHelpButton(TWindow* parent);

 protected:
  void ScaleChanged() override;
};
