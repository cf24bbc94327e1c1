#include "ui/font.h"

#include <algorithm>

#include "sysutil/textconv.h"
#include "ui/scaling.h"

int TFont::Size() const { return -MulDiv(FHeight, 72, ScreenPixelsPerInch()); }

void TFont::SetName(std::string name) {
  if (name == FName) return;
  FName = std::move(name);
  Changed();
}

void TFont::SetHeight(int height) {
  if (height == FHeight) return;
  FHeight = height;
  Changed();
}

void TFont::SetSize(int points) { SetHeight(PointsHeight(points)); }

int TFont::RescaledHeight(int height, int fromDpi, int toDpi) {
  if (fromDpi <= 0 || toDpi <= 0) return height;
  return MulDiv(MulDiv(height, 72, fromDpi), toDpi, 72);
}

void TFont::SetStyle(TFontStyles style) {
  if (style == FStyle) return;
  FStyle = style;
  Changed();
}

void TFont::SetOrientation(int tenths) {
  if (tenths == FOrientation) return;
  FOrientation = tenths;
  Changed();
}

bool TFont::IsFace(std::string_view name) const {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; };
  return std::equal(FName.begin(), FName.end(), name.begin(), name.end(),
                    [&](char a, char b) { return lower(a) == lower(b); });
}

bool TFont::SameGdiFont(const TFont& other) const {
  return FHeight == other.FHeight && FStyle == other.FStyle &&
         FOrientation == other.FOrientation && FName == other.FName;
}

HFONT TFont::Handle() const {
  if (!FObject) {
    LOGFONTW lf{};
    lf.lfHeight = FHeight;
    lf.lfEscapement = FOrientation;
    lf.lfOrientation = FOrientation;
    lf.lfWeight = Bold() ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = Italic();
    lf.lfUnderline = Underline();
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    // Raster fonts cannot be turned: a turned font must come from an outline font.
    if (FOrientation) lf.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    const std::wstring face = Widen(FName);
    lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    FObject = std::make_shared<TGdiObject>(CreateFontIndirectW(&lf));
  }
  return static_cast<HFONT>(FObject->Get());
}
