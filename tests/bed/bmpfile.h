#pragma once
// Saves a picture as a 32-bit BMP file, for a person to look at (ImageMagick turns it into
// a PNG). The alpha channel is dropped: what is saved is what the screen would show.
#include <string>

class TBitmap;

bool SaveBmp(const TBitmap& picture, const std::wstring& path);
