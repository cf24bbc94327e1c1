#pragma once
// Pictures of what is on the screen, for a person to look at: child windows and all, as
// the user sees them (PrintWindow leaves the children out under Wine).
#include <windows.h>

#include <string>

// Puts the window on top of everything, shows it and lets it paint.
void ShowForPicture(HWND window);
// Saves the screen's rectangle `r` as a BMP file; what lies off the screen stays `fill`.
bool SaveScreen(const RECT& r, const std::wstring& path, COLORREF fill = RGB(0x3A, 0x6E, 0xA5));
