#pragma once
// A font as a description (face, height, style, colour) with the GDI font made on first
// use. Copies share that font until one of them changes its description: a window copies
// its parent's font, and one GDI font serves them all.
#include <windows.h>

#include <memory>
#include <string>

#include "ui/gdiobject.h"

class TFont {
 public:
  TFont() = default;
  TFont(std::string name, int height) : FName(std::move(name)), FHeight(height) {}

  const std::string& Name() const { return FName; }
  int Height() const { return FHeight; }
  bool Bold() const { return FBold; }
  bool Italic() const { return FItalic; }
  bool Underline() const { return FUnderline; }
  COLORREF Color() const { return FColor; }

  void SetName(std::string name);
  void SetHeight(int height);
  void SetBold(bool on);
  void SetItalic(bool on);
  void SetUnderline(bool on);
  // The colour is not part of the GDI font: the canvas sets it as text colour.
  void SetColor(COLORREF color) { FColor = color; }

  HFONT Handle() const;

 private:
  void Changed() { FObject.reset(); }

  std::string FName = "Tahoma";
  int FHeight = -11;
  bool FBold = false;
  bool FItalic = false;
  bool FUnderline = false;
  COLORREF FColor = RGB(0, 0, 0);
  mutable std::shared_ptr<TGdiObject> FObject;
};
