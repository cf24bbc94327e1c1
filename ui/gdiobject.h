#pragma once
// Owners for the simple GDI objects. A pen or brush is made for one colour and freed with
// its owner; select them through TCanvas, which puts the previous objects back.
#include <windows.h>

#include "sysutil/handles.h"

struct TDeleteObject {
  void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
using TGdiObject = TOwned<HGDIOBJ, TDeleteObject, nullptr>;

class TBrush {
 public:
  explicit TBrush(COLORREF color) : FColor(color), FObject(CreateSolidBrush(color)) {}
  HBRUSH Handle() const { return static_cast<HBRUSH>(FObject.Get()); }
  COLORREF Color() const { return FColor; }

 private:
  COLORREF FColor;
  TGdiObject FObject;
};

class TPen {
 public:
  explicit TPen(COLORREF color, int width = 1, int style = PS_SOLID)
      : FObject(CreatePen(style, width, color)) {}
  HPEN Handle() const { return static_cast<HPEN>(FObject.Get()); }

 private:
  TGdiObject FObject;
};
