#pragma once
// Pictures brought to another size with an area-averaging filter: each new pixel is the
// mean of the part of the picture it covers, which keeps thin lines and soft edges even
// at any ratio, down or up. Channels are premultiplied, so see-through pixels blend right.
#include <windows.h>

#include "ui/bitmap.h"

// Fills `to` of `target` with the part `from` of `source`, scaled to fit exactly.
void ResampleInto(const TBitmap& source, const RECT& from, TBitmap& target, const RECT& to);
// The whole picture at width x height.
TBitmap Resampled(const TBitmap& source, int width, int height);
