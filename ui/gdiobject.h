#pragma once
// Owners for the simple GDI objects. A pen or brush is made for one colour and freed with
// its owner; select them through TCanvas, which puts the previous objects back.
#include <windows.h>

#include <utility>

class TGdiObject {
 public:
  TGdiObject() = default;
  explicit TGdiObject(HGDIOBJ h) : FHandle(h) {}
  TGdiObject(const TGdiObject&) = delete;
  TGdiObject& operator=(const TGdiObject&) = delete;
  TGdiObject(TGdiObject&& o) noexcept : FHandle(std::exchange(o.FHandle, nullptr)) {}
  TGdiObject& operator=(TGdiObject&& o) noexcept {
    if (this != &o) Reset(std::exchange(o.FHandle, nullptr));
    return *this;
  }
  ~TGdiObject() { Reset(); }

  HGDIOBJ Get() const { return FHandle; }
  explicit operator bool() const { return FHandle != nullptr; }
  void Reset(HGDIOBJ h = nullptr) {
    if (FHandle) DeleteObject(FHandle);
    FHandle = h;
  }

 private:
  HGDIOBJ FHandle = nullptr;
};

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
