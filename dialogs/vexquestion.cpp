#include "dialogs/vexquestion.h"

#include <algorithm>
#include <bitset>

#include "controls/vexdesign.h"
#include "dialogs/htmlhelp.h"
#include "sysutil/scopeexit.h"
#include "sysutil/sharedtexts.h"
#include "ui/scaling.h"

namespace {

const char* const CheckCaption = "Diese Frage nicht wieder stellen.";
const char* const DefaultCaptions[] = {"Ja", "Nein", "Abbruch", CheckCaption};

}  // namespace

TVEXQuestionForm::TVEXQuestionForm()
    : TVexDialogForm(L"TVEXQuestionForm", LineCount, CheckCaption) {
  const struct {
    TVexXPButton& Button;
    uint8_t Answer;
  } buttons[] = {{FJaKnopf, qaYes}, {FNeinKnopf, qaNo}, {FAbbruchKnopf, qaCancel}};
  for (const auto& b : buttons) {
    b.Button.SetText(DefaultCaptions[b.Answer]);
    b.Button.OnClick = [this, answer = b.Answer] { Answered(answer); };
  }
  SetScaledBounds(FJaKnopf, 40, 200, 98, 25);
  SetScaledBounds(FNeinKnopf, 152, 200, 98, 25);
  SetScaledBounds(FAbbruchKnopf, 264, 200, 98, 25);
  SetScaledBounds(FHilfeKnopf, 22, 71, 58, 25);
  FHilfeKnopf.SetVisible(false);
  FHilfeKnopf.SetCaptionDef("Help");
  FHilfeKnopf.SetButtonColor(RGB(255, 255, 255));
  FHilfeKnopf.SetLanguage(lgGerman);
  FHilfeKnopf.SetFont(TFont("Arial", TFont::PointsHeight(8)));
  FHilfeKnopf.OnClick = [this] { ShowHelp(); };
}

TVexXPButton* TVEXQuestionForm::ButtonOf(int answer) {
  switch (answer) {
    case qaYes: return &FJaKnopf;
    case qaNo: return &FNeinKnopf;
    case qaCancel: return &FAbbruchKnopf;
  }
  return nullptr;
}

void TVEXQuestionForm::Prepare(const TQuestion& q) {
  FAnswer = qaCancel;
  for (TVexXPButton* b : {&FJaKnopf, &FNeinKnopf, &FAbbruchKnopf}) {
    b->SetFontColor(DesignButtonTextColor);
    b->SetDefault(false);
  }
  int width = 0;
  const int count = SetUp(q.Text, q.Icon, LineCount, width);
  const int b = FNeinKnopf.Width();
  const int k = static_cast<int>(std::bitset<3>(q.Buttons & 7).count());
  width = std::max(width, k * b + (k - 1) * Scaled(ButtonGap));
  FHilfeKnopf.SetLanguage(LanguageOfIndex(LanguageIndex()));
  FHilfeKnopf.AdjustSize();
  if (!q.HelpTopic.empty() && k > 0) {
    // The help button sits left of the row: the row starts 10 pixels right of it.
    width = std::max(width, Scaled(HelpLeft) + FHilfeKnopf.Width() + Scaled(10) - Scaled(LinesLeft) + b +
                                (k - 1) * (b + Scaled(10)));
  }
  FJaKnopf.SetVisible(q.Buttons & qbYes);
  FNeinKnopf.SetVisible(q.Buttons & qbNo);
  FAbbruchKnopf.SetVisible(q.Buttons & qbCancel);
  const int top = count * LinePitch() + Scaled(60);
  for (TVexXPButton* button : {&FJaKnopf, &FNeinKnopf, &FAbbruchKnopf})
    button->SetBounds(button->Left(), top, button->Width(), button->Height());
  for (int i = 0; i < 3; ++i)
    ButtonOf(i)->SetText(static_cast<size_t>(i) < q.Captions.size() ? q.Captions[static_cast<size_t>(i)]
                                                                    : DefaultCaptions[i]);
  NichtNochMalCB().SetText(q.Captions.size() > 3 ? q.Captions[3] : CheckCaption);
  PlaceButtons(width, q.Buttons);
  FDefaultButton = q.DefaultButton;
  FHelpTopic = q.HelpTopic;
  // As tall as its picture, wherever the rounding of its edges would put them.
  FHilfeKnopf.SetBounds(Scaled(HelpLeft), top, FHilfeKnopf.Width(), Scaled(25));
  FHilfeKnopf.SetVisible(!q.HelpTopic.empty());
  FitBelowAndPlace(width + Scaled(138), top + FNeinKnopf.Height(), q.ShowCheckBox, q.Reference);
  SetRelayout([q, this] {
    Prepare(q);
    if (TVexXPButton* button = ButtonOf(FDefaultButton)) button->SetDefault(true);
  });
}

// Right-aligned with the widest line; visible buttons B wide and 10 apart.
void TVEXQuestionForm::PlaceButtons(int width, uint8_t buttons) {
  const int b = FNeinKnopf.Width();
  const int r = width - b + Scaled(LinesLeft);
  const int gap = Scaled(10);
  const auto at = [](TVexXPButton& button, int left) {
    button.SetBounds(left, button.Top(), button.Width(), button.Height());
  };
  switch (std::bitset<3>(buttons & 7).count()) {
    case 1:
      for (TVexXPButton* button : {&FJaKnopf, &FNeinKnopf, &FAbbruchKnopf}) at(*button, r);
      break;
    case 2:
      if (buttons & qbYes) {
        at(FJaKnopf, r - b - gap);
        at(FNeinKnopf, r);
        at(FAbbruchKnopf, r);
      } else {
        at(FNeinKnopf, r - b - gap);
        at(FAbbruchKnopf, r);
      }
      break;
    case 3:
      at(FAbbruchKnopf, r);
      at(FNeinKnopf, r - b - gap);
      at(FJaKnopf, r - 2 * (b + gap));
      break;
  }
}

uint8_t TVEXQuestionForm::Ask(const TQuestion& question) {
  if (Visible()) return qaCancel;
  Prepare(question);
  if (TVexXPButton* button = ButtonOf(FDefaultButton)) {
    button->SetDefault(true);
    SetActiveControl(*button);
  }
  ShowModal();
  return FAnswer;
}

void TVEXQuestionForm::Answered(uint8_t answer) {
  FAnswer = answer;
  SetModalResult(mrOk);
}

void TVEXQuestionForm::ShowHelp() const { ShowApplicationHelp(FHelpTopic); }

bool TVEXQuestionForm::ShortCut(const MSG& msg) {
  if (msg.message != WM_KEYDOWN) return false;
  switch (msg.wParam) {
    case VK_RETURN:
      for (int answer : {qaYes, qaNo, qaCancel}) {
        TVexXPButton& button = *ButtonOf(answer);
        if (button.Visible() && button.Focused()) {
          Answered(static_cast<uint8_t>(answer));
          return true;
        }
      }
      return false;  // the default button takes it
    case VK_ESCAPE:
      Answered(qaCancel);
      return true;
    case VK_F1:
      ShowHelp();
      return true;
  }
  return false;
}

uint8_t TVEXQuestion::Ask(const TQuestion& question) {
  if (FForm) return qaCancel;
  TVEXQuestionForm form;
  FForm = &form;
  const TScopeExit forget([this] { FForm = nullptr; });
  const uint8_t answer = form.Ask(question);
  FShowAgain = !form.NichtNochMalCB().Checked();
  return answer;
}

TVEXQuestion& VEXQuestion() {
  static TVEXQuestion question;
  return question;
}
