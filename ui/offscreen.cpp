#include "ui/offscreen.h"

#include "ui/bitmap.h"
#include "ui/canvas.h"

void PaintOffScreen(HDC target, const RECT& r, const std::function<void(HDC)>& paint) {
  TBitmap buffer(r.right - r.left, r.bottom - r.top);
  if (buffer.Empty()) return;
  {
    TBitmapCanvas canvas(buffer);
    SetViewportOrgEx(canvas.Canvas().Handle(), -r.left, -r.top, nullptr);
    paint(canvas.Canvas().Handle());
  }
  TMemoryDC source(target);
  source.Select(buffer.Handle());
  BitBlt(target, r.left, r.top, r.right - r.left, r.bottom - r.top, source.Handle(), 0, 0,
         SRCCOPY);
}
