#include "app/wizard/weblink.h"

#include "app/texts.h"
#include "controls/qvlabel.h"
#include "controls/vexdesign.h"
#include "sysutil/scopeexit.h"
#include "sysutil/shellopen.h"
#include "ui/screencursor.h"

TWebLink::TWebLink(TQvLabel& label, std::function<void(const std::string&)> showError)
    : FLabel(label), FShowError(std::move(showError)), FDefaultCursor(ScreenCursor()) {
  Open = [this](const std::string& url) { return OpenUrl(FLabel.Handle(), url); };
  FLabel.OnMouseMove = [this](int, int) { MouseMove(); };
  FLabel.OnClick = [this] { Click(); };
}

void TWebLink::MouseMove() {
  if (FWebBusy) return;
  FLabel.SetFontColor(DesignLinkHotColor);
  SetScreenCursor(LoadCursorW(nullptr, IDC_HAND));
}

void TWebLink::CheckHover() {
  POINT p{};
  GetCursorPos(&p);
  RECT r{};
  GetWindowRect(FLabel.Handle(), &r);
  const int x = p.x - r.left;
  const int y = p.y - r.top;
  if (x >= 0 && y >= 0 && x <= FLabel.Width() && y <= FLabel.Height()) return;
  if (FLabel.Font().Color() != DesignLinkColor) FLabel.SetFontColor(DesignLinkColor);
  if (!FWebBusy && ScreenCursor() != FDefaultCursor) SetScreenCursor(FDefaultCursor);
}

void TWebLink::Click() {
  if (FWebBusy) return;
  const HCURSOR saved = ScreenCursor();
  const TScopeExit restore([this, saved] {
    FWebBusy = false;
    SetScreenCursor(saved);
  });
  SetScreenCursor(LoadCursorW(nullptr, IDC_WAIT));
  FWebBusy = true;
  if (Open(FLabel.Caption()) < 0) FShowError(LangText(sNoBrowser));
}
