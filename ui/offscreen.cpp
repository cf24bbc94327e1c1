#include "ui/offscreen.h"

#include <algorithm>

#include "sysutil/scopeexit.h"
#include "ui/bitmap.h"
#include "ui/canvas.h"

namespace {

// One back buffer for every paint, grown to the largest area yet: a DIB section made and
// freed for each paint cost more than most paints do themselves. A paint inside a paint
// (none is known) would get a buffer of its own.
TBitmap GBuffer;
bool GBufferInUse = false;

}  // namespace

void PaintOffScreen(HDC target, const RECT& r, const std::function<void(HDC)>& paint) {
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return;
  const bool shared = !GBufferInUse;
  TBitmap own;
  TBitmap& buffer = shared ? GBuffer : own;
  if (buffer.Width() < width || buffer.Height() < height)
    buffer.SetSize(std::max(buffer.Width(), width), std::max(buffer.Height(), height));
  if (buffer.Empty()) return;
  GBufferInUse = true;
  const TScopeExit release([shared] {
    if (shared) GBufferInUse = false;
  });
  TBitmapCanvas canvas(buffer);
  const HDC dc = canvas.Canvas().Handle();
  SetViewportOrgEx(dc, -r.left, -r.top, nullptr);
  // The buffer may be larger: what lies outside the area is neither drawn nor copied.
  IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
  {
    const TCanvas painting(dc);  // leaves origin and clip as they are for the copy
    paint(dc);
  }
  BitBlt(target, r.left, r.top, width, height, dc, r.left, r.top, SRCCOPY);
}
