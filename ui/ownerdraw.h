#pragma once
// Owner drawing through a back buffer: Windows clips the item's DC to the control and may
// show every step of a paint, so the whole control is painted off screen and copied onto
// the item's rectangle in one go.
#include <windows.h>

#include <functional>

// `paint` draws the control with its top-left corner at (0, 0).
void DrawItemBuffered(const DRAWITEMSTRUCT& item, const std::function<void(HDC)>& paint);
