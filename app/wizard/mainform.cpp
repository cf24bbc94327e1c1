#include "app/wizard/mainform.h"

#include <algorithm>

#include "app/branding.h"
#include "app/singleinstance.h"
#include "app/texts.h"
#include "app/wizard/confirmation.h"
#include "app/wizard/infolinks.h"
#include "app/wizard/repairrun.h"
#include "app/wizard/requirementmarks.h"
#include "controls/artworkpicture.h"
#include "dialogs/htmlhelp.h"
#include "dialogs/vexmessage.h"
#include "dialogs/vexquestion.h"
#include "sysutil/scopeexit.h"
#include "sysutil/security.h"
#include "sysutil/system.h"
#include "sysutil/wait.h"
#include "sysutil/windowsversion.h"
#include "ui/application.h"
#include "ui/scaling.h"

namespace {

constexpr int ClientWidth = 470;
constexpr int ClientHeight = 311;
constexpr COLORREF BoxFrameColor = RGB(0xA0, 0xA0, 0xA0);
constexpr COLORREF GroupFrameColor = RGB(0xD0, 0xD7, 0xCF);
constexpr COLORREF DisabledTextColor = RGB(0xA5, 0xA2, 0x94);
constexpr COLORREF ProgressColor = RGB(0x00, 0x80, 0x00);
constexpr COLORREF LanguageLinkHoverColor = RGB(0x00, 0x00, 0xFF);

constexpr int ProgramIcon = 1;
constexpr UINT CheckMessage = WM_APP + 76;
constexpr UINT_PTR CheckTimer = 76;

TFont FormFont() { return TFont("Tahoma", TFont::PointsHeight(8)); }

}  // namespace

TCardmendMainForm::TCardmendMainForm()
    : TForm(WizardWindowClass, FixedDialogStyle, WS_EX_APPWINDOW), Notebook1(Add<TNotebook>(this)) {
  SetMainForm(true);
  SetFont(FormFont());
  SetIcon(ProgramIcon);
  SetClientSize(Scaled(ClientWidth), Scaled(ClientHeight));
  CenterOnScreen();

  Notebook1.SetBounds(0, 0, Scaled(ClientWidth), Scaled(ClientHeight));
  BuildStartPage();
  BuildImageLists();

  Timer1.SetInterval(100);
  Timer1.OnTimer = [this] { Timer1Timer(); };

  FVariant = ComputeVariantFlags();
  ApplyBranding();
  ApplyLanguage();
  FWebLink = std::make_unique<TWebLink>(*WebLabel, [this](const std::string& text) {
    ShowErrorMessage(text);
  });
  SetHelpRefusalReporter([this](const std::string& line) { Log(line); });
  // Posted, it arrives once the loop runs, after Show's first paint; it then sets a timer,
  // whose message comes only when nothing else waits: the program is idle for the user
  // first, and the checks follow a moment later.
  PostMessageW(Handle(), CheckMessage, 0, 0);
}

void TCardmendMainForm::CheckEnvironment() {
  if (FChecked) return;
  FChecked = true;
  LoadPCSCLibrary();
  ShowRequirements();
  BrandVersion(ProgramFile());
  ShowProgramVersion();
  PollPCSCStatus();
}

TCardmendMainForm::~TCardmendMainForm() {
  SetHelpRefusalReporter(nullptr);
  Timer1.SetEnabled(false);
  FreePCSCLibrary();
}

void TCardmendMainForm::BuildImageLists() {
  ImageList1 = TImageList(Scaled(16), Scaled(16));
  AddRequirementMarks(ImageList1);
  LangImageList = TImageList(Scaled(16), Scaled(16));
  LangImageList.AddStrip(ArtworkPicture(Art::Flags, 5, 1));
}

void TCardmendMainForm::ScaleChanged() {
  DesignScaleChanged();
  BuildImageLists();
  ShowRequirements();
  ApplyLanguage();
}

void TCardmendMainForm::ShowMark(TImage& image, int index) {
  ImageList1.GetBitmap(index, FBitmap);
  image.SetPicture(FBitmap);
}

void TCardmendMainForm::ShowRequirements() {
  ShowMark(*WinImage, IsWin2000OrLater() ? rmMet : rmNotMet);
  ShowMark(*AdminImage, IsUserAdmin() ? rmMet : rmNotMet);
}

void TCardmendMainForm::StatusFound(TLayerStatus status) {
  if (status == FPCSCStatus) return;
  FPCSCStatus = status;
  ShowPCSCStatus();
}

void TCardmendMainForm::ShowPCSCStatus() {
  if (!FPCSCStatus) {
    LabelPCSC->SetText(FStatusOverdue ? " " + LangText(sRMChecking) : "");
    PCSCImage->SetPicture(TBitmap());
    return AlignInfoLinks();
  }
  switch (*FPCSCStatus) {
    case TLayerStatus::Running:
      LabelPCSC->SetText(" " + LangText(sRMRunning));
      ShowMark(*PCSCImage, rmMet);
      return AlignInfoLinks();
    case TLayerStatus::AwaitingReader:
      LabelPCSC->SetText(" " + LangText(sRMAwaitingReader));
      ShowMark(*PCSCImage, rmAwaiting);
      return AlignInfoLinks();
    case TLayerStatus::NotRunning:
      break;
  }
  LabelPCSC->SetText(" " + LangText(sRMNotRunning));
  ShowMark(*PCSCImage, rmNotMet);
  AlignInfoLinks();
}

void TCardmendMainForm::ApplyBranding() {
  BrandTheme();
  SetText(BrandedCaption());
  Application().SetTitle(BrandedCaption());
  SetColor(DesignWindowColor);
  Notebook1.SetColor(DesignWindowColor);
}

void TCardmendMainForm::ApplyLanguage() {
  StartKnopf->SetText(LangText(sStart));
  AbbruchKnopf->SetText(LangText(sCancel));
  WelcomeLabel->SetText(" " + LangText(sWelcome));
  RequirementsLabel->SetText(" " + LangText(sRequirements));
  StatusLabel->SetText(" " + LangText(sPCSCStatus));
  AboutLabel->SetText(" " + LangText(sAbout));
  Label0_1->SetText(LangText(sIntro));
  Label0_2->SetText(" " + LangText(sWindowsRequirement));
  Label0_3->SetText(" " + LangText(sAdminRequirement));
  ShowPCSCStatus();
  ShowProgramVersion();
  CopyrightLabel->SetText(DesignCopyrightSign + " " + DesignCopyrightYears + ", " + DesignCompany);
  for (TQvLabel* link : {WinInfoLabel, AdminInfoLabel, PCSCInfoLabel})
    link->SetText("<a>" + LangText(sMoreInfo) + "</a>");
  AlignInfoLinks();
  WebLabel->SetText(LangText(sWebAddress));
  LangLabel->SetText(LanguageEnglish ? "<a>Deutsch</a>" : "<a>English</a>");
  ShowFlag();
  ShowLaterPagesTexts();
}

void TCardmendMainForm::ShowLaterPagesTexts() {
  if (!ProgressBar) return;
  FertigstellenKnopf->SetText(LangText(sFinish));
  ProgressGroupBox->SetText(" " + LangText(sInstallation) + " ");
  BeendenGroupBox->SetText(" " + LangText(sFinishProcess) + " ");
  rbRestart->SetText(LangText(sRestartNow));
  rbLater->SetText(LangText(sRestartLater));
  Label1_1->SetText(LangText(sProgressText1));
  Label1_2->SetText(LangText(sProgressText2));
  Label2_0->SetText(LangText(sCheckCompleted));
  ShowRestartAdvice();
  Label2_2->SetText(LangText(sRemoveDisks));
}

// Empty until the program file has been read, after the first paint.
void TCardmendMainForm::ShowProgramVersion() {
  VersionsLabel->SetText(DesignProductVersion.empty() ? ""
                                                      : DesignProductName + " " + DesignProductVersion);
}

// Right-aligned in the upper box, all three at the left of the first; where a line to their
// left would run into them (a long status in a wide font), they move into the margin.
void TCardmendMainForm::AlignInfoLinks() {
  const int right = Panel2->ClientRect().right;
  int left = right - WinInfoLabel->Width() - Scaled(12);
  for (const TLabel* line : {Label0_2, Label0_3, LabelPCSC})
    left = std::max(left, line->Left() + line->Width() + Scaled(4));
  left = std::min(left, right - WinInfoLabel->Width() - Scaled(2));
  for (TQvLabel* link : {WinInfoLabel, AdminInfoLabel, PCSCInfoLabel})
    link->SetBounds(left, link->Top(), link->Width(), link->Height());
}

// The flag of the language the link offers: British while German is shown.
void TCardmendMainForm::ShowFlag() {
  TBitmap flag;
  LangImageList.GetBitmap(1 - LangIndex(), flag);
  LangImage->SetPicture(flag);
}

void TCardmendMainForm::ShowErrorMessage(const std::string& text) {
  VEXMessage().ShowError(text, this);
}

TPanel& TCardmendMainForm::Box(TNotebookPage& page, int top, int height) {
  auto& box = Add<TPanel>(&page);
  box.SetColor(DesignPanelColor);
  box.SetFrameColor(BoxFrameColor);
  SetScaledBounds(box, 12, top, 445, height);
  return box;
}

TLabel& TCardmendMainForm::AddLabel(TWindow& parent, int left, int top) {
  auto& label = Add<TLabel>(&parent);
  label.SetFontColor(DesignTextColor);
  label.SetBounds(Scaled(left), Scaled(top), 0, 0);
  return label;
}

TLabel& TCardmendMainForm::AddHeading(TWindow& parent, int left, int top) {
  auto& label = AddLabel(parent, left, top);
  TFont font = label.Font();
  font.SetBold(true);
  font.SetColor(DesignHeadingColor);
  label.SetFont(font);
  return label;
}

TLabel& TCardmendMainForm::AddWrapped(TWindow& parent, int left, int top, int width, int height) {
  auto& label = AddLabel(parent, left, top);
  label.SetWordWrap(true);
  SetScaledBounds(label, left, top, width, height);
  return label;
}

TImage& TCardmendMainForm::AddMark(TWindow& parent, int left, int top) {
  auto& image = Add<TImage>(&parent);
  SetScaledBounds(image, left, top, 16, 16);
  return image;
}

// Links in the wizard are plain text in the link colour; the theme's hover colour is for the
// information links and the web address, the language link turns plain blue.
TQvLabel& TCardmendMainForm::AddLink(TWindow& parent, int left, int top, COLORREF hoverColor) {
  auto& link = Add<TQvLabel>(&parent);
  link.SetColor(DesignPanelColor);
  link.SetLinkStyle(0);
  link.SetLinkNormalColor(DesignLinkColor);
  link.SetLinkActiveColor(hoverColor);
  link.SetBounds(Scaled(left), Scaled(top), 0, 0);
  return link;
}

TVexXPButton& TCardmendMainForm::AddButton(TWindow& parent, int left, std::function<void()> click) {
  auto& button = Add<TVexXPButton>(&parent);
  button.SetFont(FormFont());
  button.SetFontColor(DesignButtonTextColor);
  button.SetFontDisabledColor(DisabledTextColor);
  button.SetSkin(&DesignButtonSkin());
  SetScaledBounds(button, left, 7, 100, 25);
  button.OnClick = std::move(click);
  return button;
}

TVEXRadio& TCardmendMainForm::AddRadio(TWindow& parent, int top) {
  auto& radio = Add<TVEXRadio>(&parent);
  radio.SetFont(FormFont());
  radio.SetFontColor(DesignTextColor);
  radio.SetFontDisabledColor(DisabledTextColor);
  radio.SetColor(DesignPanelColor);
  radio.SetShowFocusFrame(true);
  SetScaledBounds(radio, 56, top, 350, 16);
  return radio;
}

TQVGroupBox& TCardmendMainForm::AddGroup(TPanel& box) {
  auto& group = Add<TQVGroupBox>(&box);
  group.SetColor(DesignPanelColor);
  group.SetFontColor(DesignHeadingColor);
  group.SetRahmenfarbe(GroupFrameColor);
  SetScaledBounds(group, 12, 8, 419, 212);
  return group;
}

void TCardmendMainForm::BuildStartPage() {
  TNotebookPage& page = Notebook1.AddPage("Start");
  Panel2 = &Box(page, 12, 234);
  TPanel& upper = *Panel2;
  WelcomeLabel = &AddHeading(upper, 12, 8);
  Label0_1 = &AddWrapped(upper, 28, 24, 400, 33);
  RequirementsLabel = &AddHeading(upper, 12, 60);
  WinImage = &AddMark(upper, 28, 75);
  Label0_2 = &AddLabel(upper, 48, 76);
  WinInfoLabel = &AddLink(upper, 0, 76, DesignLinkHotColor);
  WinInfoLabel->LinkCallBack = [this](TQvLabelBase&) { WinInfoLabelLinkCallBack(); };
  AdminImage = &AddMark(upper, 28, 93);
  Label0_3 = &AddLabel(upper, 48, 94);
  AdminInfoLabel = &AddLink(upper, 0, 94, DesignLinkHotColor);
  AdminInfoLabel->LinkCallBack = [this](TQvLabelBase&) { AdminInfoLabelLinkCallBack(); };
  StatusLabel = &AddHeading(upper, 12, 120);
  PCSCImage = &AddMark(upper, 28, 135);
  LabelPCSC = &AddLabel(upper, 48, 136);
  PCSCInfoLabel = &AddLink(upper, 0, 136, DesignLinkHotColor);
  PCSCInfoLabel->LinkCallBack = [this](TQvLabelBase&) { PCSCInfoLabelLinkCallBack(); };
  AboutLabel = &AddHeading(upper, 12, 162);
  VersionsLabel = &AddWrapped(upper, 28, 178, 333, 14);
  CopyrightLabel = &AddWrapped(upper, 28, 192, 333, 14);
  WebLabel = &AddLink(upper, 28, 206, DesignLinkHotColor);
  WebLabel->SetFontColor(DesignLinkColor);

  Panel5 = &Box(page, 258, 41);
  LangImage = &AddMark(*Panel5, 12, 12);
  LangImage->OnClick = [this] { LangLabelLinkCallBack(); };
  LangLabel = &AddLink(*Panel5, 32, 13, LanguageLinkHoverColor);
  LangLabel->LinkCallBack = [this](TQvLabelBase&) { LangLabelLinkCallBack(); };
  StartKnopf = &AddButton(*Panel5, 227, [this] { StartKnopfClick(); });
  AbbruchKnopf = &AddButton(*Panel5, 335, [this] { AbbruchKnopfClick(); });
}

// Made when a run first needs them: most starts end on the start page.
void TCardmendMainForm::BuildLaterPages() {
  if (ProgressBar) return;
  BuildProgressPage();
  BuildFinishPage();
  ShowLaterPagesTexts();
}

void TCardmendMainForm::BuildProgressPage() {
  TNotebookPage& page = Notebook1.AddPage("Progress");
  Panel7 = &Box(page, 12, 234);
  ProgressGroupBox = &AddGroup(*Panel7);
  TQVGroupBox& group = *ProgressGroupBox;
  Label1_1 = &AddWrapped(group, 12, 24, 394, 33);
  Label1_2 = &AddWrapped(group, 12, 64, 394, 49);
  ProgressBar = &Add<TQvXPProgressBar>(&group);
  SetScaledBounds(*ProgressBar, 12, 120, 394, 16);
  ProgressBar->SetProgressColor(ProgressColor);
  ProgressBar->SetBorderColor(RGB(0xFF, 0xFF, 0xFF));
  ProgressBar->SetColor(RGB(0xFF, 0xFF, 0xFF));
  ProgressBar->SetMax(ProgressMax);
  ProgressLabel = &AddWrapped(group, 12, 152, 394, 36);
  Box(page, 258, 41);
}

void TCardmendMainForm::BuildFinishPage() {
  TNotebookPage& page = Notebook1.AddPage("Finish");
  Panel10 = &Box(page, 12, 234);
  BeendenGroupBox = &AddGroup(*Panel10);
  TQVGroupBox& group = *BeendenGroupBox;
  Label2_0 = &AddWrapped(group, 12, 24, 394, 14);
  Label2_1 = &AddWrapped(group, 12, 48, 394, 33);
  rbRestart = &AddRadio(group, 92);
  rbLater = &AddRadio(group, 110);
  rbRestart->SetChecked(true);
  Label2_2 = &AddWrapped(group, 12, 144, 394, 33);

  TPanel& lower = Box(page, 258, 41);
  FertigstellenKnopf = &AddButton(lower, 335, [this] { FertigstellenKnopfClick(); });
}

void TCardmendMainForm::Activate() {
  Notebook1.SetPageIndex(StartPage);
  StartKnopf->SetFocus();
  Timer1.SetEnabled(true);
}

bool TCardmendMainForm::ShortCut(const MSG& msg) {
  if (msg.message != WM_KEYDOWN) return false;
  const int page = Notebook1.PageIndex();
  if (msg.wParam == VK_RETURN && page == StartPage) {
    StartKnopfClick();
    return true;
  }
  if (msg.wParam == VK_RETURN && page == FinishPage) {
    FertigstellenKnopfClick();
    return true;
  }
  if (msg.wParam == VK_ESCAPE && page == StartPage) {
    AbbruchKnopfClick();
    return true;
  }
  return false;
}

void TCardmendMainForm::Timer1Timer() {
  Timer1.SetEnabled(false);
  const TScopeExit reArm([this] {
    if (!FClosing) Timer1.SetEnabled(true);
  });
  if (Notebook1.PageIndex() == StartPage) {
    for (TQvLabel* link : {WinInfoLabel, AdminInfoLabel, PCSCInfoLabel}) link->CheckLinkLeave();
    FWebLink->CheckHover();
  }
  if (!FPCSCStatus && !FStatusOverdue && Notebook1.PageIndex() == StartPage) {
    FStatusOverdue = true;
    ShowPCSCStatus();
  }
  if (++FTickCount < 10) return;
  FTickCount = 0;
  if (Notebook1.PageIndex() == StartPage) PollPCSCStatus();
}

void TCardmendMainForm::LangLabelLinkCallBack() {
  LanguageEnglish = !LanguageEnglish;
  ApplyLanguage();
}

void TCardmendMainForm::WinInfoLabelLinkCallBack() { ShowInfoHint(WindowsHintText(), *this); }
void TCardmendMainForm::AdminInfoLabelLinkCallBack() { ShowInfoHint(AdminHintText(), *this); }
void TCardmendMainForm::PCSCInfoLabelLinkCallBack() {
  ShowInfoHint(PCSCHintText(FPCSCStatus == TLayerStatus::AwaitingReader), *this);
}

void TCardmendMainForm::ProgressStep(const std::string& text, DWORD ms) {
  ProgressBar->StepIt();
  ProgressLabel->SetText(text);
  if (OnProgressStep) OnProgressStep(text, ms);
  Delay(ms);
}

void TCardmendMainForm::StartKnopfClick() {
  // A click queued before the page changed reaches the hidden button during the run's waits.
  if (Notebook1.PageIndex() != StartPage) return;
  CheckEnvironment();
  TRepairRun(*this, FLog, *FPCSC, FVariant).Execute();
}

void TCardmendMainForm::ReinstallService() {
  CheckEnvironment();
  BuildLaterPages();
  TRepairRun(*this, FLog, *FPCSC, FVariant).ReinstallService();
}

void TCardmendMainForm::ShowProgress() {
  BuildLaterPages();
  Notebook1.SetPageIndex(ProgressPage);
  ProgressBar->SetPosition(0);
  ProgressBar->SetMax(ProgressMax);
  ProgressLabel->SetText(LangText(sCheckingRights));
  Delay(200);
}

void TCardmendMainForm::ShowRestartAdvice() {
  Label2_1->SetText(LangText(FRestartNeeded ? sRestartNeeded : sNoRestartNeeded));
}

void TCardmendMainForm::ShowFinish(bool restartNeeded) {
  BuildLaterPages();
  while (ProgressBar->Position() < ProgressBar->Max() - 1) ProgressStep(LangText(sCompleting), 50);
  ProgressBar->SetPosition(ProgressBar->Max());
  ProgressLabel->SetText(LangText(sCompleted));
  Delay(350);
  ProgressBar->SetPosition(0);
  ProgressLabel->SetText("");
  FRestartNeeded = restartNeeded;
  ShowRestartAdvice();
  (restartNeeded ? rbRestart : rbLater)->SetChecked(true);
  Notebook1.SetPageIndex(FinishPage);
  FertigstellenKnopf->SetFocus();
  Application().ProcessMessages();
}

bool TCardmendMainForm::AskToRepairWorkingSystem() {
  return VEXQuestion().Ask(RepairConfirmation(this)) == qaYes;
}

void TCardmendMainForm::AbbruchKnopfClick() {
  FClosing = true;
  Close();
}

void TCardmendMainForm::FertigstellenKnopfClick() {
  if (rbLater->Checked()) {
    Close();
    return;
  }
  Application().Terminate();
  RestartWindows();
}

void TCardmendMainForm::RestoreFromSecondCopy() {
  EnableWindow(Application().Handle(), TRUE);
  EnableWindow(Handle(), TRUE);
  if (!IsZoomed(Handle())) {
    // The application window is never shown; restoring it would show it.
    if (IsIconic(Application().Handle())) ShowWindow(Application().Handle(), SW_RESTORE);
    ShowWindow(Handle(), SW_RESTORE);
  }
  SetVisible(true);
  SetEnabled(true);
  ForceForeground(Handle());
}

LRESULT TCardmendMainForm::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == RestoreWizardMessage) {
    RestoreFromSecondCopy();
    return 0;
  }
  if (msg == CheckMessage) {
    SetTimer(Handle(), CheckTimer, 0, nullptr);
    return 0;
  }
  if (msg == WM_TIMER && wp == CheckTimer) {
    KillTimer(Handle(), CheckTimer);
    CheckEnvironment();
    return 0;
  }
  if (msg == TStatusProbe::DoneMessage) {
    StatusFound(TStatusProbe::Answer(wp));
    return 0;
  }
  return TForm::WndProc(msg, wp, lp);
}
