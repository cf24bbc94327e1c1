#include "ui/canvas.h"

#include "sysutil/textconv.h"
#include "ui/gdiobject.h"

TCanvas::TCanvas(HDC dc) : FDC(dc), FSaved(SaveDC(dc)) { SetBkMode(dc, TRANSPARENT); }

TCanvas::~TCanvas() { RestoreDC(FDC, FSaved); }

void TCanvas::SetFont(const TFont& font) {
  SelectObject(FDC, font.Handle());
  SetTextColor(FDC, font.Color());
}

void TCanvas::FillRect(const RECT& r, COLORREF color) {
  TBrush brush(color);
  ::FillRect(FDC, &r, brush.Handle());
}

void TCanvas::FrameRect(const RECT& r, COLORREF color) {
  TBrush brush(color);
  ::FrameRect(FDC, &r, brush.Handle());
}

void TCanvas::Line(int x1, int y1, int x2, int y2, COLORREF color) {
  TPen pen(color);
  HGDIOBJ old = SelectObject(FDC, pen.Handle());
  MoveToEx(FDC, x1, y1, nullptr);
  LineTo(FDC, x2, y2);
  SelectObject(FDC, old);
}

void TCanvas::TextOut(int x, int y, std::string_view text) {
  const std::wstring w = Widen(text);
  ::TextOutW(FDC, x, y, w.c_str(), static_cast<int>(w.size()));
}

int TCanvas::DrawText(RECT& r, std::string_view text, UINT format) {
  const std::wstring w = Widen(text);
  return ::DrawTextW(FDC, w.c_str(), static_cast<int>(w.size()), &r, format);
}

SIZE TCanvas::TextExtent(std::string_view text) {
  const std::wstring w = Widen(text);
  SIZE size{};
  GetTextExtentPoint32W(FDC, w.c_str(), static_cast<int>(w.size()), &size);
  return size;
}

void TCanvas::Draw(int x, int y, const TBitmap& bitmap) { bitmap.Draw(FDC, x, y); }
