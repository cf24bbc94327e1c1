#pragma once
// The process-wide theme: the texts that brand a window, the colours the windows and
// controls are painted in, and the skin images, built from the artwork's pixel tables.
// DesignStart builds the images on its first call; DesignEnd frees them on the matching
// last one.
#include <windows.h>

#include <string>

#include "controls/artwork.h"
#include "controls/artworkpicture.h"
#include "ui/bitmap.h"

// Written by the application once, early, before any dialog shows.
extern std::string DesignProductName;
extern std::string DesignProductVersion;
extern std::string DesignTrademark;
extern std::string DesignProductFamily;
extern std::string DesignWebAddress;
extern std::string DesignCopyrightYears;
extern std::string DesignCopyrightSign;
extern std::string DesignCompany;

constexpr COLORREF DesignTextColor = 0x000000;
constexpr COLORREF DesignHeadingColor = 0xDF4800;
constexpr COLORREF DesignLinkColor = 0xDF4800;
constexpr COLORREF DesignLinkHotColor = 0xF0922F;
constexpr COLORREF DesignButtonTextColor = 0x000000;
constexpr COLORREF DesignPanelColor = 0xFFFFFF;
constexpr COLORREF DesignWindowColor = 0xDEEBEF;

void DesignStart();
void DesignEnd();
// Makes the images again at the screen's scale, in place: references to them stay good.
void DesignScaleChanged();

// Empty before DesignStart and after the last DesignEnd. The icons are at the screen's
// scale; the skin is the drawing nearest it (25 or 50 pixels high).
const TBitmap& DesignButtonSkin();
const TBitmap& DesignErrorIcon();
const TBitmap& DesignQuestionIcon();
const TBitmap& DesignInfoIcon();
const TBitmap& DesignWarningIcon();
