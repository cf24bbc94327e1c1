#include "ui/font.h"

#include "sysutil/textconv.h"

void TFont::SetName(std::string name) { FName = std::move(name); Changed(); }
void TFont::SetHeight(int height) { FHeight = height; Changed(); }
void TFont::SetBold(bool on) { FBold = on; Changed(); }
void TFont::SetItalic(bool on) { FItalic = on; Changed(); }
void TFont::SetUnderline(bool on) { FUnderline = on; Changed(); }

HFONT TFont::Handle() const {
  if (!FObject) {
    LOGFONTW lf{};
    lf.lfHeight = FHeight;
    lf.lfWeight = FBold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = FItalic;
    lf.lfUnderline = FUnderline;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    const std::wstring face = Widen(FName);
    lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    FObject = std::make_shared<TGdiObject>(CreateFontIndirectW(&lf));
  }
  return static_cast<HFONT>(FObject->Get());
}
