#pragma once
// Painting through a back buffer: the whole area is painted off screen and copied onto
// the target in one go, so nothing half-drawn is ever seen. Windows' own paints and the
// owner-drawn controls' drawing (whose DC Windows clips to the control) both go this way.
#include <windows.h>

#include <functional>

// `paint` draws in `target`'s coordinates; only the area `r` is buffered and copied.
void PaintOffScreen(HDC target, const RECT& r, const std::function<void(HDC)>& paint);
