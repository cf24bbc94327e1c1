// labelpaint [ROUNDS]: the cost of one rich-text label paint (lay out, measure and draw a
// dialog-sized caption of ten lines with tags and a link into its back buffer) beside a
// plain DrawText of the same text without tags into the same buffer.
// Prints: "label MEDIAN_US", "plain MEDIAN_US", medians over ROUNDS rounds (40) of 200 paints.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "bench/clock.h"
#include "controls/qvlabel.h"
#include "sysutil/textconv.h"
#include "ui/form.h"

namespace {

constexpr int Width = 420;
constexpr int Height = 170;
constexpr int PaintsPerRound = 200;

const char* const Lines[] = {
    "<b>Cardmend</b> checks and repairs the smart-card subsystem.",
    "It rewrites the <i>service's registry configuration</i> for this Windows,",
    "stops and starts the <b>Smart Card Resource Manager</b> again,",
    "restores the <u>owner and access rights</u> of the smart-card keys,",
    "and reinstalls the resource manager when nothing else helped.",
    "After every stage it tests the <#0000FF>PC/SC layer<#000000> and stops",
    "as soon as the layer answers. <s10>Nothing<s8> else is changed.",
    "Hold <b>Ctrl</b> while you press Start to see the trace afterwards.",
    "The finish page offers to restart Windows now or later.",
    "Questions? <a>Tell me more.</a>",
};

std::string Tagged() {
  std::string text;
  for (const char* line : Lines) text += std::string(text.empty() ? "" : "<br>") + line;
  return text;
}

// The same words without tags, one line each.
std::wstring Plain() {
  std::wstring text;
  for (const char* line : Lines) {
    if (!text.empty()) text += L"\r\n";
    bool inTag = false;
    for (const char* c = line; *c; ++c) {
      if (*c == '<') inTag = true;
      if (!inTag) text += static_cast<wchar_t>(*c);
      if (*c == '>') inTag = false;
    }
  }
  return text;
}

class THostForm : public TForm {
 public:
  THostForm() : TForm(L"TBenchHost", FixedDialogStyle) { SetColor(RGB(255, 255, 255)); }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 40;
  THostForm host;
  TQvLabel label(&host);
  label.SetAutoSize(false);
  label.SetWordWrap(true);
  label.SetBounds(0, 0, Width, Height);
  label.SetText(Tagged());

  TBitmap buffer(Width, Height);
  TBitmapCanvas canvas(buffer);
  const HDC dc = canvas.Canvas().Handle();
  const std::wstring plain = Plain();
  const TFont font = label.Font();

  const double rich = MedianMicroseconds(rounds, PaintsPerRound, [&] { label.PaintTo(dc); });
  const double flat = MedianMicroseconds(rounds, PaintsPerRound, [&] {
    TCanvas scope(dc);
    canvas.Canvas().FillRect({0, 0, Width, Height}, RGB(255, 255, 255));
    canvas.Canvas().SetFont(font);
    RECT r{0, 0, Width, Height};
    DrawTextW(dc, plain.c_str(), static_cast<int>(plain.size()), &r,
              DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS);
  });
  std::printf("label %.1f\nplain %.1f\n", rich, flat);
  return 0;
}
