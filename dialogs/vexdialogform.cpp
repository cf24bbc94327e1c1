#include "dialogs/vexdialogform.h"

#include <algorithm>

#include "controls/vexdesign.h"
#include "dialogs/dialoglines.h"

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
  SetFont(TFont("Arial", -11));
  FCheckBox.SetFont(TFont("Arial", -11));
  FCheckBox.SetText(checkCaption);
}

TQvLabel& TVexDialogForm::Line(int index) {
  const size_t wanted = std::min(static_cast<size_t>(index) + 1, FMaxLines);
  while (FLines.size() < wanted) {
    // Made in its place; SetUp gives it its caption.
    const int top = static_cast<int>(FLines.size()) * FLinePitch + 20;
    FLines.emplace_back(
        std::make_unique<TQvLabel>(this, RECT{LinesLeft, top, LinesLeft + 100, top + 16}));
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

  FLinePitch = 2 * Font().Size();
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
    const int top = static_cast<int>(i) * FLinePitch + 20;
    if (line.Top() != top || line.Left() != LinesLeft)
      line.SetBounds(LinesLeft, top, line.Width(), line.Height());
    line.SetText(i < lines.size() ? lines[i].Text : " ");
    if (i < lines.size()) width = std::max(width, line.Width());
  }
  return static_cast<int>(lines.size());
}

void TVexDialogForm::FitBelowAndPlace(int clientWidth, int buttonBottom, bool showCheckBox,
                                      const TWindow* reference) {
  const int clientHeight = buttonBottom + (showCheckBox ? 40 : 20);
  FCheckBox.SetBounds(16, clientHeight - 26, FCheckBox.Width(), FCheckBox.Height());
  FCheckBox.SetVisible(showCheckBox);
  FCheckBox.SetChecked(false);
  // Sized and moved at once: each change of a top-level window is a costly round of messages.
  const SIZE size = FrameSizeFor(clientWidth, clientHeight);
  const POINT p = CenteredOn(ReferenceRect(reference), size, ScreenRect());
  SetWindowPos(Handle(), nullptr, p.x, p.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}
