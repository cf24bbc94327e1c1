#pragma once
// Drawing on a borrowed DC. The DC's state is saved on entry and restored on exit, so
// nothing this canvas selected stays selected after it is gone.
#include <windows.h>

#include <string_view>

#include "ui/bitmap.h"
#include "ui/font.h"
#include "ui/memorydc.h"

class TCanvas {
 public:
  explicit TCanvas(HDC dc);
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;
  ~TCanvas();

  HDC Handle() const { return FDC; }

  void SetFont(const TFont& font);
  void FillRect(const RECT& r, COLORREF color);
  void FrameRect(const RECT& r, COLORREF color);
  void Line(int x1, int y1, int x2, int y2, COLORREF color);
  void TextOut(int x, int y, std::string_view text);
  // DrawTextW with the given DT_ flags; returns the text height, and with DT_CALCRECT
  // widens or lowers r to the text.
  int DrawText(RECT& r, std::string_view text, UINT format);
  SIZE TextExtent(std::string_view text);
  void Draw(int x, int y, const TBitmap& bitmap);

 private:
  HDC FDC;
  int FSaved;
};

// A canvas that paints into a bitmap (the back buffer of a control, or a test's picture).
class TBitmapCanvas {
 public:
  explicit TBitmapCanvas(TBitmap& bitmap) : FCanvas((FDC.Select(bitmap.Handle()), FDC.Handle())) {}
  TCanvas& Canvas() { return FCanvas; }

 private:
  TMemoryDC FDC;
  TCanvas FCanvas;
};
