#include "ui/ownerdraw.h"

#include "ui/bitmap.h"
#include "ui/canvas.h"

void DrawItemBuffered(const DRAWITEMSTRUCT& item, const std::function<void(HDC)>& paint) {
  const RECT& r = item.rcItem;
  TBitmap buffer(r.right - r.left, r.bottom - r.top);
  if (buffer.Empty()) return;
  {
    TBitmapCanvas canvas(buffer);
    paint(canvas.Canvas().Handle());
  }
  TMemoryDC source(item.hDC);
  source.Select(buffer.Handle());
  BitBlt(item.hDC, r.left, r.top, r.right - r.left, r.bottom - r.top, source.Handle(), 0, 0,
         SRCCOPY);
}
