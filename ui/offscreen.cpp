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
  TBitmap own;
  TBitmap* buffer = &own;
  if (!GBufferInUse) {
    if (GBuffer.Width() < width || GBuffer.Height() < height)
      GBuffer.SetSize(std::max(GBuffer.Width(), width), std::max(GBuffer.Height(), height));
    buffer = &GBuffer;
  } else {
    own.SetSize(width, height);
  }
  if (buffer->Empty()) return;
  if (buffer == &GBuffer) GBufferInUse = true;
  const TScopeExit release([buffer] {
    if (buffer == &GBuffer) GBufferInUse = false;
  });
  TBitmapCanvas canvas(*buffer);
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
