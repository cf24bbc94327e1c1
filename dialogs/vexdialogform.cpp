#include "dialogs/vexdialogform.h"

#include <algorithm>
#include <cstdlib>

#include "controls/vexdesign.h"
#include "dialogs/dialoglines.h"
#include "ui/scaling.h"

namespace {

const TBitmap* IconOf(int icon) {
  switch (icon) {
    case diWarning: return &DesignWarningIcon();
    case diInformation: return &DesignInfoIcon();
    case diError: return &DesignErrorIcon();
    case diQuestion: return &DesignQuestionIcon();
  }
  return nullptr;
}

}  // namespace

TVexDialogForm::TVexDialogForm(const wchar_t* className, int lineCount,
                               const std::string& checkCaption)
    : TForm(className, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
            WS_EX_DLGMODALFRAME),
      FMaxLines(static_cast<size_t>(lineCount)) {
  SetColor(DesignPanelColor);
  SetFont(TFont("Arial", TFont::PointsHeight(8)));
  FCheckBox.SetFont(TFont("Arial", TFont::PointsHeight(8)));
  FCheckBox.SetText(checkCaption);
  SetScaledBounds(FTypeImage, 20, 20, 39, 39);
  SetScaledBounds(FCheckBox, 16, 284, 409, 16);
}

TQvLabel& TVexDialogForm::Line(int index) {
  const size_t wanted = std::min(static_cast<size_t>(index) + 1, FMaxLines);
  while (FLines.size() < wanted) {
    // Made in its place; SetUp gives it its caption.
    const int top = static_cast<int>(FLines.size()) * FLinePitch + Scaled(20);
    const int left = Scaled(LinesLeft);
    FLines.emplace_back(
        std::make_unique<TQvLabel>(this, RECT{left, top, left + Scaled(100), top + Scaled(16)}));
  }
  return *FLines.at(static_cast<size_t>(index));
}

int TVexDialogForm::SetUp(const std::string& text, int icon, size_t maxLines, int& width) {
  SetColor(DesignPanelColor);
  FCheckBox.SetColor(DesignPanelColor);
  FCheckBox.SetFontColor(DesignTextColor);
  const TBitmap* picture = IconOf(icon);
  static const TBitmap none;
  FTypeImage.SetPicture(picture ? *picture : none);
  SetText(DesignTrademark + " " + DesignProductName);

  // Twice the font's point size, taken at 96 DPI and scaled like every other figure.
  FLinePitch = Scaled(2 * MulDiv(Unscaled(std::abs(Font().Height())), 72, 96));
  const std::vector<TDialogLine> lines = SplitDialogText(text, maxLines, true);
  width = 0;
  if (!lines.empty()) Line(static_cast<int>(lines.size()) - 1);
  for (size_t i = 0; i < FLines.size(); ++i) {
    TQvLabel& line = *FLines[i];
    // Each change re-measures or moves a window: only what differs is changed.
    TFont font = Font();
    font.SetColor(DesignTextColor);
    font.SetBold(i < lines.size() && lines[i].Bold);
    if (!font.SameGdiFont(line.Font()) || font.Color() != line.Font().Color()) line.SetFont(font);
    if (line.Color() != DesignPanelColor) line.SetColor(DesignPanelColor);
    const int top = static_cast<int>(i) * FLinePitch + Scaled(20);
    if (line.Top() != top || line.Left() != Scaled(LinesLeft))
      line.SetBounds(Scaled(LinesLeft), top, line.Width(), line.Height());
    line.SetText(i < lines.size() ? lines[i].Text : " ");
    if (i < lines.size()) width = std::max(width, line.Width());
  }
  return static_cast<int>(lines.size());
}

void TVexDialogForm::ScaleChanged() {
  DesignScaleChanged();
  if (!FRelayout) return;
  RECT place{};
  GetWindowRect(Handle(), &place);
  const bool checked = FCheckBox.Checked();
  // A copy: the layout leaves a new one behind while it runs.
  const std::function<void()> relayout = FRelayout;
  relayout();
  FCheckBox.SetChecked(checked);
  SetWindowPos(Handle(), nullptr, place.left, place.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TVexDialogForm::FitBelowAndPlace(int clientWidth, int buttonBottom, bool showCheckBox,
                                      const TWindow* reference) {
  const int clientHeight = buttonBottom + Scaled(showCheckBox ? 40 : 20);
  FCheckBox.SetBounds(Scaled(16), clientHeight - Scaled(26), FCheckBox.Width(), FCheckBox.Height());
  FCheckBox.SetVisible(showCheckBox);
  FCheckBox.SetChecked(false);
  // Sized and moved at once: each change of a top-level window is a costly round of messages.
  const SIZE size = FrameSizeFor(clientWidth, clientHeight);
  const POINT p = CenteredOn(ReferenceRect(reference), size, ScreenRect());
  SetWindowPos(Handle(), nullptr, p.x, p.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}
