#include "controls/vexdesign.h"

#include <array>

#include "controls/artworkpicture.h"

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

const TArtwork& ArtOf(TImage image) {
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

// The icons at the screen's scale; the skin as drawn nearest it, for a button composes its
// caps and middle at the skin's own scale before it fits the result to its size.
TBitmap PictureOf(TImage image) {
  const TArtwork& art = ArtOf(image);
  if (image == imButtonSkin) return NearestDrawing(art);
  return ArtworkPicture(art);
}

}  // namespace

void DesignStart() {
  TTheme& theme = Theme();
  if (theme.Starts++ > 0) return;
  for (int i = 0; i < imCount; ++i)
    theme.Images[static_cast<size_t>(i)] = PictureOf(static_cast<TImage>(i));
  DesignTrademark = "Cardmend";
  DesignProductFamily = "Cardmend Tools";
  DesignWebAddress = "https://www.cardmend.example";
  DesignCopyrightYears = "2026";
  DesignCopyrightSign = "\xC2\xA9";  // ©
  DesignCompany = "Cardmend Software, Berlin, Germany";
}

void DesignScaleChanged() {
  TTheme& theme = Theme();
  if (theme.Starts == 0) return;
  for (int i = 0; i < imCount; ++i)
    theme.Images[static_cast<size_t>(i)] = PictureOf(static_cast<TImage>(i));
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
