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
            WS_EX_DLGMODALFRAME) {
  SetColor(DesignPanelColor);
  SetFont(TFont("Arial", -11));
  SetClientSize(440, 310);
  FTypeImage.SetBounds(20, 20, 39, 39);
  FCheckBox.SetBounds(16, 284, 409, 16);
  FCheckBox.SetFont(TFont("Arial", -11));
  FCheckBox.SetText(checkCaption);
  for (int n = 1; n <= lineCount; ++n) {
    auto& line = *FLines.emplace_back(std::make_unique<TQvLabel>(this));
    line.SetBounds(LinesLeft, (n - 1) * FLinePitch + 20, 100, 16);
    line.SetText(" ");
  }
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
  for (size_t i = 0; i < FLines.size(); ++i) {
    TQvLabel& line = *FLines[i];
    TFont font = Font();
    font.SetColor(DesignTextColor);
    font.SetBold(i < lines.size() && lines[i].Bold);
    line.SetFont(font);
    line.SetColor(DesignPanelColor);
    line.SetBounds(LinesLeft, static_cast<int>(i) * FLinePitch + 20, line.Width(), line.Height());
    line.SetText(i < lines.size() ? lines[i].Text : " ");
    if (i < lines.size()) width = std::max(width, line.Width());
  }
  return static_cast<int>(lines.size());
}

void TVexDialogForm::FitBelow(int clientWidth, int buttonBottom, bool showCheckBox) {
  const int clientHeight = buttonBottom + (showCheckBox ? 40 : 20);
  SetClientSize(clientWidth, clientHeight);
  FCheckBox.SetBounds(16, clientHeight - 26, FCheckBox.Width(), FCheckBox.Height());
  FCheckBox.SetVisible(showCheckBox);
  FCheckBox.SetChecked(false);
}

void TVexDialogForm::PlaceOver(const TWindow* reference) {
  const POINT p = CenteredOn(ReferenceRect(reference), {Width(), Height()}, ScreenRect());
  SetWindowPos(Handle(), nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
