#include "controls/vexdesign.h"

#include <array>

#include "ui/memorydc.h"

std::string DesignProductName;
std::string DesignProductVersion;
std::string DesignTrademark;
std::string DesignProductFamily;
std::string DesignWebAddress;
std::string DesignCopyrightYears;
std::string DesignCopyrightSign;
std::string DesignCompany;

namespace {

enum TImage { imButtonSkin, imErrorIcon, imQuestionIcon, imInfoIcon, imWarningIcon, imCount };

struct TTheme {
  int Starts = 0;
  std::array<TBitmap, imCount> Images;
};

TTheme& Theme() {
  static TTheme theme;
  return theme;
}

const TPixelTable& TableOf(TImage image) {
  switch (image) {
    case imButtonSkin: return Art::ButtonSkin;
    case imErrorIcon: return Art::ErrorIcon;
    case imQuestionIcon: return Art::QuestionIcon;
    case imInfoIcon: return Art::InfoIcon;
    case imWarningIcon: break;
    case imCount: break;
  }
  return Art::WarningIcon;
}

}  // namespace

TBitmap BitmapFromTable(const TPixelTable& table) {
  TBitmap bitmap(table.Width, table.Height);
  if (bitmap.Empty()) return bitmap;
  const size_t count = static_cast<size_t>(table.Width) * static_cast<size_t>(table.Height);
  uint32_t* bits = bitmap.Bits();
  for (size_t i = 0; i < count; ++i) bits[i] = OpaquePixel(table.Pixels[i] & 0xFFFFFF);
  return bitmap;
}

TBitmap BitmapFromTablePixelByPixel(const TPixelTable& table) {
  TBitmap bitmap(table.Width, table.Height);
  TMemoryDC dc;
  dc.Select(bitmap.Handle());
  for (int y = 0; y < table.Height; ++y)
    for (int x = 0; x < table.Width; ++x)
      SetPixelV(dc.Handle(), x, y, table.Pixels[y * table.Width + x] & 0xFFFFFF);
  GdiFlush();
  // SetPixel leaves the alpha byte at 0: make the picture opaque as the fast build does.
  for (int i = 0; i < table.Width * table.Height; ++i) bitmap.Bits()[i] |= 0xFF000000u;
  return bitmap;
}

void DesignStart() {
  TTheme& theme = Theme();
  if (theme.Starts++ > 0) return;
  for (int i = 0; i < imCount; ++i)
    theme.Images[static_cast<size_t>(i)] = BitmapFromTable(TableOf(static_cast<TImage>(i)));
  DesignTrademark = "Cardmend";
  DesignProductFamily = "Cardmend Tools";
  DesignWebAddress = "https://www.cardmend.example";
  DesignCopyrightYears = "2026";
  DesignCopyrightSign = "\xC2\xA9";  // ©
  DesignCompany = "Cardmend Software, Berlin, Germany";
}

void DesignEnd() {
  TTheme& theme = Theme();
  if (theme.Starts == 0 || --theme.Starts > 0) return;
  for (TBitmap& image : theme.Images) image = TBitmap();
}

const TBitmap& DesignButtonSkin() { return Theme().Images[imButtonSkin]; }
const TBitmap& DesignErrorIcon() { return Theme().Images[imErrorIcon]; }
const TBitmap& DesignQuestionIcon() { return Theme().Images[imQuestionIcon]; }
const TBitmap& DesignInfoIcon() { return Theme().Images[imInfoIcon]; }
const TBitmap& DesignWarningIcon() { return Theme().Images[imWarningIcon]; }
