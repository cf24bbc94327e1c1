// controlgallery BMP: renders every owner-drawn control in every state, the theme's
// pictures and the artwork sheets into BMP, for a person to look at. 'make test' turns it
// into build/control-gallery.png.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/artwork.h"
#include "controls/qvgroupbox.h"
#include "controls/qvlabel.h"
#include "controls/qvxpprogressbar.h"
#include "controls/vexcheck.h"
#include "controls/vexdesign.h"
#include "controls/veximagebutton.h"
#include "controls/vexradio.h"
#include "controls/vexxpbutton.h"
#include "tests/bed/bmpfile.h"
#include "ui/form.h"

namespace {

constexpr int SheetWidth = 760;
constexpr int SheetHeight = 700;

class TGalleryForm : public TForm {
 public:
  TGalleryForm() : TForm(L"TControlGallery", FixedDialogStyle), FSheet(SheetWidth, SheetHeight) {
    SetClientSize(SheetWidth, SheetHeight);
    SetColor(DesignPanelColor);
    FSheet.Fill(DesignPanelColor);
  }

  template <typename T>
  T& Make() {
    return Add<T>(this);
  }

  // Copies a picture onto the sheet, `scale` times enlarged with hard pixel edges.
  void Place(const TBitmap& picture, int x, int y, int scale = 1) {
    TBitmapCanvas canvas(FSheet);
    TMemoryDC source(canvas.Canvas().Handle());
    source.Select(picture.Handle());
    StretchBlt(canvas.Canvas().Handle(), x, y, picture.Width() * scale, picture.Height() * scale,
               source.Handle(), 0, 0, picture.Width(), picture.Height(), SRCCOPY);
  }
  void PlaceWindow(TWindow& window, int x, int y) {
    TBitmap picture(window.Width(), window.Height());
    {
      TBitmapCanvas canvas(picture);
      window.PaintTo(canvas.Canvas().Handle());
    }
    Place(picture, x, y);
  }
  void PlaceGraphic(TGraphicControl& control, int x, int y) {
    TBitmap picture(control.Width(), control.Height());
    {
      TBitmapCanvas canvas(picture);
      control.PaintTo(canvas.Canvas().Handle());
    }
    Place(picture, x, y);
  }
  void Text(int x, int y, const std::string& caption) {
    auto& label = Make<TQvLabel>();
    label.SetColor(DesignPanelColor);
    label.SetBounds(x, y, 0, 0);
    label.SetText("<#808080>" + caption);
    PlaceWindow(label, x, y);
  }
  const TBitmap& Sheet() {
    GdiFlush();
    return FSheet;
  }

 private:
  TBitmap FSheet;
};

TBitmap Painted(int width, int height, const std::function<void(HDC)>& paint) {
  TBitmap picture(width, height);
  picture.Fill(DesignPanelColor);
  {
    TBitmapCanvas canvas(picture);
    paint(canvas.Canvas().Handle());
  }
  return picture;
}

void Buttons(TGalleryForm& form, int top) {
  form.Text(10, top, "<b>XP push button</b>: normal, default, focused, pressed, hot, disabled; drop-down; 14 to 17 wide");
  auto& button = form.Make<TVexXPButton>();
  button.SetText("&Weiter");
  const struct {
    UINT State;
    bool Hot;
  } looks[] = {{0, false}, {ODS_DEFAULT, false}, {ODS_FOCUS, false},
               {ODS_SELECTED | ODS_FOCUS, false}, {0, true}, {ODS_DISABLED, false}};
  int x = 10;
  for (const auto& look : looks) {
    form.Place(Painted(98, 25, [&](HDC dc) { button.PaintState(dc, look.State, look.Hot); }), x, top + 18);
    x += 104;
  }
  button.SetDropDown(true);
  button.SetText("");
  button.SetBounds(0, 0, 24, 25);
  form.Place(Painted(24, 25, [&](HDC dc) { button.PaintState(dc, 0); }), x, top + 18);
  x = 10;
  for (int width : {14, 15, 16, 17}) {
    auto& narrow = form.Make<TVexXPButton>();
    narrow.SetBounds(0, 0, width, 25);
    form.Place(Painted(width, 25, [&](HDC dc) { narrow.PaintState(dc, ODS_FOCUS); }), x, top + 50);
    x += 24;
  }
}

void Toggles(TGalleryForm& form, int top) {
  form.Text(10, top, "<b>Check box and radio button</b>: values, down, disabled, focused; the glyph sheets at 3 x");
  const TCheckBoxState states[] = {cbUnchecked, cbChecked, cbGrayed};
  int x = 10;
  for (const TCheckBoxState state : states) {
    auto& check = form.Make<TVEXCheck>();
    check.SetBounds(0, 0, 110, 16);
    check.SetAllowGrayed(true);
    check.SetText(state == cbChecked ? "Checked" : state == cbGrayed ? "Grayed" : "Unchecked");
    check.SetState(state);
    form.PlaceWindow(check, x, top + 18);
    check.SetDown(true);
    form.PlaceWindow(check, x, top + 36);
    check.SetDown(false);
    check.SetEnabled(false);
    form.PlaceWindow(check, x, top + 54);
    x += 115;
  }
  for (const bool selected : {true, false}) {
    auto& radio = form.Make<TVEXRadio>();
    radio.SetBounds(0, 0, 110, 16);
    radio.SetColor(RGB(0xF0, 0xF0, 0xE8));
    radio.SetText(selected ? "Selected" : "Not selected");
    radio.SetChecked(selected);
    form.PlaceWindow(radio, x, top + 18);
    radio.SetEnabled(false);
    form.PlaceWindow(radio, x, top + 54);
    x += 115;
  }
  form.Place(BitmapFromTable(Art::CheckGlyphs.Single), 600, top + 18, 1);
  form.Place(BitmapFromTable(Art::RadioGlyphs.Single), 660, top + 18, 1);
  form.Place(BitmapFromTable(Art::CheckGlyphs.Single), 10, top + 76, 3);
  form.Place(BitmapFromTable(Art::RadioGlyphs.Single), 180, top + 76, 3);
}

void ImageButtons(TGalleryForm& form, int top) {
  form.Text(10, top, "<b>Help and image buttons</b>: German, French, disabled, without caption; the close button");
  int x = 10;
  for (const TLanguage language : {lgGerman, lgFrench, lgDefault}) {
    auto& help = form.Make<TVexHelpButton>();
    help.SetBounds(0, 0, 58, 25);
    help.SetLanguage(language);
    help.SetEnabled(language != lgDefault);
    form.Place(Painted(80, 25, [&](HDC dc) { help.PaintState(dc, help.Enabled() ? 0 : ODS_DISABLED); }), x, top + 18);
    x += 90;
  }
  auto& close = form.Make<TVexImageButton>();
  close.SetImages(BitmapFromTable(Art::CloseStrip.Single));
  close.SetShowCaption(false);
  close.SetBounds(0, 0, 18, 18);
  form.Place(Painted(18, 18, [&](HDC dc) { close.PaintState(dc, 0); }), x, top + 20);
  form.Place(BitmapFromTable(Art::HelpStrip.Single), 420, top + 18, 1);
  form.Place(BitmapFromTable(Art::CloseStrip.Single), 460, top + 18, 1);
}

void ProgressAndGroups(TGalleryForm& form, int top) {
  form.Text(10, top, "<b>Progress bar</b> (green, blue, red; 6 high) <b>and group box</b>");
  const COLORREF colours[] = {0x008000, 0xFF0000, 0x0000FF};
  int y = top + 18;
  for (int i = 0; i < 3; ++i) {
    auto& bar = form.Make<TQvXPProgressBar>();
    bar.SetBounds(0, 0, 300, 16);
    bar.SetMax(25);
    bar.SetProgressColor(colours[i]);
    bar.SetPosition(static_cast<uint16_t>(8 * (i + 1)));
    form.PlaceGraphic(bar, 10, y);
    y += 22;
  }
  auto& low = form.Make<TQvXPProgressBar>();
  low.SetBounds(0, 0, 300, 6);
  low.SetPosition(50);
  form.PlaceGraphic(low, 10, y);
  auto& group = form.Make<TQVGroupBox>();
  group.SetColor(DesignPanelColor);
  group.SetBounds(0, 0, 180, 70);
  group.SetText(" Installation ");
  form.PlaceWindow(group, 330, top + 18);
  auto& plain = form.Make<TQVGroupBox>();
  plain.SetColor(DesignPanelColor);
  plain.SetBounds(0, 0, 180, 70);
  form.PlaceWindow(plain, 520, top + 18);
}

void Pictures(TGalleryForm& form, int top) {
  form.Text(10, top, "<b>Theme pictures</b>: dialog icons, button skin (1 x, 3 x); hint icons and flags (1 x, 3 x)");
  int x = 10;
  for (const TBitmap* icon : {&DesignWarningIcon(), &DesignInfoIcon(), &DesignErrorIcon(), &DesignQuestionIcon()}) {
    form.Place(*icon, x, top + 18);
    x += 45;
  }
  form.Place(DesignButtonSkin(), x, top + 18);
  form.Place(DesignButtonSkin(), x, top + 48, 3);
  form.Place(BitmapFromTable(Art::HintInfoIcon.Single), 10, top + 64);
  form.Place(BitmapFromTable(Art::HintWarningIcon.Single), 30, top + 64);
  form.Place(BitmapFromTable(Art::Flags.Single), 60, top + 64);
  form.Place(BitmapFromTable(Art::Flags.Single), 10, top + 88, 3);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  DesignStart();
  int result = 1;
  {
    TGalleryForm form;
    Buttons(form, 8);
    Toggles(form, 90);
    ImageButtons(form, 300);
    ProgressAndGroups(form, 430);
    Pictures(form, 550);
    result = SaveBmp(form.Sheet(), argv[1]) ? 0 : 1;
  }
  DesignEnd();
  return result;
}
