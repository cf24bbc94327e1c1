#include "dialogs/vexmessage.h"

#include <algorithm>

#include "controls/vexdesign.h"
#include "dialogs/htmlhelp.h"
#include "sysutil/scopeexit.h"
#include "ui/scaling.h"

namespace {

const char* const OKCaption = "OK";
const char* const CheckCaption =
    "Diese Meldung beim n\xC3\xA4" "chsten Mal nicht wieder anzeigen.";

}  // namespace

TVEXMessageForm::TVEXMessageForm() : TVexDialogForm(L"TVEXMessageForm", LineCount, CheckCaption) {
  SetScaledBounds(FOKKnopf, 152, 176, 98, 25);
  FOKKnopf.SetText(OKCaption);
  FOKKnopf.SetDefault(true);
  FOKKnopf.SetModalResult(mrOk);
}

void TVEXMessageForm::Prepare(const std::string& text, int icon, bool showCheckBox,
                              const std::vector<std::string>& captions, const TWindow* reference) {
  FOKKnopf.SetFontColor(DesignButtonTextColor);
  int width = 0;
  const int count = SetUp(text, icon, LineCount, width);
  width = std::max(width, Scaled(100));
  const int top = count * LinePitch() + Scaled(60);
  FOKKnopf.SetBounds(width - FOKKnopf.Width() + Scaled(LinesLeft), top, FOKKnopf.Width(),
                     FOKKnopf.Height());
  FOKKnopf.SetText(captions.size() > 0 ? captions[0] : OKCaption);
  NichtNochMalCB().SetText(captions.size() > 1 ? captions[1] : CheckCaption);
  FitBelowAndPlace(width + Scaled(138), top + FOKKnopf.Height(), showCheckBox, reference);
  SetRelayout([=, this] { Prepare(text, icon, showCheckBox, captions, reference); });
}

uint8_t TVEXMessageForm::ShowMessage(const std::string& text, int icon, bool showCheckBox,
                                     const std::vector<std::string>& captions,
                                     const TWindow* reference) {
  if (Visible()) return 0;
  Prepare(text, icon, showCheckBox, captions, reference);
  SetActiveControl(FOKKnopf);
  ShowModal();
  return 0;
}

bool TVEXMessageForm::ShortCut(const MSG& msg) {
  if (msg.message != WM_KEYDOWN) return false;
  switch (msg.wParam) {
    case VK_RETURN:
    case VK_ESCAPE:
      SetModalResult(mrOk);
      return true;
    case VK_F1:
      ShowApplicationHelp("");
      return true;
  }
  return false;
}

uint8_t TVEXMessage::ShowInfo(const std::string& text, const TWindow* reference,
                              bool showCheckBox, const std::vector<std::string>& captions) {
  return Show(text, diInformation, reference, showCheckBox, captions);
}

uint8_t TVEXMessage::ShowError(const std::string& text, const TWindow* reference,
                               bool showCheckBox, const std::vector<std::string>& captions) {
  return Show(text, diError, reference, showCheckBox, captions);
}

uint8_t TVEXMessage::Show(const std::string& text, int icon, const TWindow* reference,
                          bool showCheckBox, const std::vector<std::string>& captions) {
  if (FForm) return 0;
  TVEXMessageForm form;
  FForm = &form;
  const TScopeExit forget([this] { FForm = nullptr; });
  form.ShowMessage(text, icon, showCheckBox, captions, reference);
  FShowAgain = !form.NichtNochMalCB().Checked();
  return 0;
}

TVEXMessage& VEXMessage() {
  static TVEXMessage message;
  return message;
}
