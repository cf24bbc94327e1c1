// controlpaint [ROUNDS]: the theme's build time beside the same pictures set pixel by
// pixel, and one full paint of each owner-drawn control into a back buffer.
// Prints "NAME MEDIAN_US" lines: theme, pixelwise, then one line per control; medians over
// ROUNDS rounds (30).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <vector>

#include "bench/clock.h"
#include "controls/artworkpicture.h"
#include "controls/qvgroupbox.h"
#include "controls/qvxpprogressbar.h"
#include "controls/vexcheck.h"
#include "controls/vexdesign.h"
#include "controls/veximagebutton.h"
#include "controls/vexradio.h"
#include "controls/vexxpbutton.h"
#include "ui/form.h"

namespace {

class THostForm : public TForm {
 public:
  THostForm() : TForm(L"TBenchHost", FixedDialogStyle) { SetColor(DesignPanelColor); }
  template <typename T>
  T& Make() {
    return Add<T>(this);
  }
};

void Report(const char* name, double us) { std::printf("%s %.1f\n", name, us); }

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 30;
  Report("theme", MedianMicroseconds(rounds, 1, [] {
           DesignStart();
           DesignEnd();
         }));
  const TPixelTable* tables[] = {&Art::ButtonSkin.Single, &Art::ErrorIcon.Single,
                                 &Art::QuestionIcon.Single, &Art::InfoIcon.Single,
                                 &Art::WarningIcon.Single};
  Report("pixelwise", MedianMicroseconds(rounds, 1, [&] {
           for (const TPixelTable* table : tables) BitmapFromTablePixelByPixel(*table);
         }));

  DesignStart();
  {
    THostForm host;
    TBitmap buffer(420, 212);
    TBitmapCanvas canvas(buffer);
    const HDC dc = canvas.Canvas().Handle();
    auto& button = host.Make<TVexXPButton>();
    button.SetText("&Fertig stellen");
    button.SetSkin(&DesignButtonSkin());
    Report("xpbutton", MedianMicroseconds(rounds, 100, [&] { button.PaintState(dc, ODS_FOCUS); }));
    auto& check = host.Make<TVEXCheck>();
    check.SetBounds(0, 0, 409, 16);
    check.SetText("Diese Meldung nicht mehr anzeigen");
    check.SetChecked(true);
    Report("check", MedianMicroseconds(rounds, 100, [&] { check.PaintTo(dc); }));
    auto& radio = host.Make<TVEXRadio>();
    radio.SetBounds(0, 0, 350, 16);
    radio.SetText("Ja, Computer jetzt neu starten.");
    radio.SetChecked(true);
    Report("radio", MedianMicroseconds(rounds, 100, [&] { radio.PaintTo(dc); }));
    auto& help = host.Make<TVexHelpButton>();
    help.SetLanguage(lgGerman);
    Report("helpbutton", MedianMicroseconds(rounds, 100, [&] { help.PaintState(dc, 0); }));
    auto& bar = host.Make<TQvXPProgressBar>();
    bar.SetBounds(0, 0, 394, 16);
    bar.SetMax(25);
    bar.SetPosition(13);
    Report("progressbar", MedianMicroseconds(rounds, 100, [&] { bar.PaintTo(dc); }));
    auto& group = host.Make<TQVGroupBox>();
    group.SetBounds(0, 0, 419, 212);
    group.SetText(" Installation ");
    Report("groupbox", MedianMicroseconds(rounds, 100, [&] { group.PaintTo(dc); }));
  }
  DesignEnd();
  return 0;
}
