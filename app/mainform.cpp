#include "app/mainform.h"

#include "app/requirementmarks.h"
#include "sysutil/security.h"
#include "sysutil/system.h"
#include "sysutil/windowsversion.h"
#include "sysutil/wait.h"
#include "ui/application.h"

namespace {

constexpr int ClientWidth = 470;
constexpr int ClientHeight = 311;

// Until the theme exists: a light window with white boxes framed in grey.
constexpr COLORREF WindowColor = RGB(0xEC, 0xEC, 0xE6);
constexpr COLORREF PanelColor = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF FrameColor = RGB(0xA0, 0xA0, 0xA0);
constexpr COLORREF HeadingColor = RGB(0x00, 0x3C, 0x74);
constexpr COLORREF TextColor = RGB(0x30, 0x30, 0x30);

constexpr int ProgressMax = 25;
constexpr int ProgramIcon = 1;

}  // namespace

TCardmendMainForm::TCardmendMainForm()
    : TForm(L"TCardmendMainForm", FixedDialogStyle, WS_EX_APPWINDOW), Notebook1(Add<TNotebook>(this)) {
  SetMainForm(true);
  SetColor(WindowColor);
  SetText(" Cardmend");
  SetIcon(ProgramIcon);
  Application().SetTitle(" Cardmend");
  SetClientSize(ClientWidth, ClientHeight);
  CenterOnScreen();

  Notebook1.SetBounds(0, 0, ClientWidth, ClientHeight);
  BuildStartPage();
  BuildProgressPage();
  BuildFinishPage();
  AddRequirementMarks(ImageList1);

  Timer1.SetInterval(100);
  Timer1.OnTimer = [this] { Timer1Timer(); };

  ComputeVariantFlags();
  LoadPCSCLibrary();
  ShowRequirements();
  PollPCSCStatus();
  ShowPCSCStatus();
}

TCardmendMainForm::~TCardmendMainForm() {
  Timer1.SetEnabled(false);
  FreePCSCLibrary();
}

void TCardmendMainForm::ComputeVariantFlags() {
  const TVariantFlags flags = ::ComputeVariantFlags();
  FXPSP2 = flags.XPSP2;
  F2003OrXP64 = flags.Is2003OrXP64;
  FVista64 = flags.Vista64;
}

void TCardmendMainForm::ShowMark(TImage& image, int index) {
  ImageList1.GetBitmap(index, FBitmap);
  image.SetPicture(FBitmap);
}

void TCardmendMainForm::ShowRequirements() {
  ShowMark(*WinImage, IsWin2000OrLater() ? rmMet : rmNotMet);
  ShowMark(*AdminImage, IsUserAdmin() ? rmMet : rmNotMet);
}

void TCardmendMainForm::PollPCSCStatus() {
  const bool running = FPCSC.Responds();
  if (running == FPCSCRunning) return;
  FPCSCRunning = running;
  ShowPCSCStatus();
}

void TCardmendMainForm::ShowPCSCStatus() {
  LabelPCSC->SetText(FPCSCRunning ? " The Smart Card Resource Manager is running."
                                  : " The Smart Card Resource Manager is not running.");
  ShowMark(*PCSCImage, FPCSCRunning ? rmMet : rmNotMet);
}

TPanel& TCardmendMainForm::Box(TNotebookPage& page, int top, int height) {
  auto& box = Add<TPanel>(&page);
  box.SetColor(PanelColor);
  box.SetFrameColor(FrameColor);
  box.SetBounds(12, top, 445, height);
  return box;
}

TLabel& TCardmendMainForm::AddLabel(TWindow& parent, int left, int top,
                                    const std::string& caption) {
  auto& label = Add<TLabel>(&parent);
  label.SetFontColor(TextColor);
  label.SetBounds(left, top, 0, 0);
  label.SetText(caption);
  return label;
}

TLabel& TCardmendMainForm::AddHeading(TWindow& parent, int left, int top,
                                      const std::string& caption) {
  auto& label = AddLabel(parent, left, top, caption);
  TFont font = label.Font();
  font.SetBold(true);
  font.SetColor(HeadingColor);
  label.SetFont(font);
  return label;
}

TLabel& TCardmendMainForm::AddWrapped(TWindow& parent, int left, int top, int width,
                                      int height, const std::string& caption) {
  auto& label = Add<TLabel>(&parent);
  label.SetFontColor(TextColor);
  label.SetWordWrap(true);
  label.SetBounds(left, top, width, height);
  label.SetText(caption);
  return label;
}

TVexXPButton& TCardmendMainForm::AddButton(TWindow& parent) {
  auto& button = Add<TVexXPButton>(&parent);
  button.SetFont(TFont("Tahoma", -11));
  button.SetSkin(&DesignButtonSkin());
  return button;
}

TVEXRadio& TCardmendMainForm::AddRadio(TWindow& parent) {
  auto& radio = Add<TVEXRadio>(&parent);
  radio.SetFont(TFont("Tahoma", -11));
  radio.SetColor(PanelColor);
  return radio;
}

TQVGroupBox& TCardmendMainForm::AddGroup(TPanel& box, const std::string& caption) {
  auto& group = Add<TQVGroupBox>(&box);
  group.SetColor(PanelColor);
  group.SetFontColor(HeadingColor);
  group.SetBounds(12, 8, 419, 212);
  group.SetText(caption);
  return group;
}

void TCardmendMainForm::BuildStartPage() {
  TNotebookPage& page = Notebook1.AddPage("Start");
  Panel2 = &Box(page, 12, 234);
  TPanel& upper = *Panel2;
  WelcomeLabel = &AddHeading(upper, 12, 8, " Welcome");
  Label0_1 = &AddWrapped(upper, 28, 24, 400, 33,
                         "Cardmend is able to detect and fix some common problems of the "
                         "Smart Card Resource Manager.");
  RequirementsLabel = &AddHeading(upper, 12, 60, " Requirements");
  WinImage = &Add<TImage>(&upper);
  WinImage->SetBounds(28, 75, 16, 16);
  Label0_2 = &AddLabel(upper, 48, 76, " Windows 2000 or better");
  AdminImage = &Add<TImage>(&upper);
  AdminImage->SetBounds(28, 93, 16, 16);
  Label0_3 = &AddLabel(upper, 48, 94, " Administrator privileges");
  StatusLabel = &AddHeading(upper, 12, 120, " PC/SC Status");
  PCSCImage = &Add<TImage>(&upper);
  PCSCImage->SetBounds(28, 135, 16, 16);
  LabelPCSC = &AddLabel(upper, 48, 136, "");
  AboutLabel = &AddHeading(upper, 12, 162, " About");
  VersionsLabel = &AddWrapped(upper, 28, 178, 333, 14, "Cardmend");
  CopyrightLabel = &AddWrapped(upper, 28, 192, 333, 14, "");

  Panel5 = &Box(page, 258, 41);
  StartKnopf = &AddButton(*Panel5);
  StartKnopf->SetBounds(227, 7, 100, 25);
  StartKnopf->SetText("&Begin");
  StartKnopf->OnClick = [this] { StartKnopfClick(); };
  AbbruchKnopf = &AddButton(*Panel5);
  AbbruchKnopf->SetBounds(335, 7, 100, 25);
  AbbruchKnopf->SetText("&Cancel");
  AbbruchKnopf->OnClick = [this] { AbbruchKnopfClick(); };
}

void TCardmendMainForm::BuildProgressPage() {
  TNotebookPage& page = Notebook1.AddPage("Progress");
  Panel7 = &Box(page, 12, 234);
  TQVGroupBox& group = AddGroup(*Panel7, " Installation ");
  Label1_1 = &AddWrapped(group, 12, 24, 394, 33,
                         "Cardmend is now checking the Smart Card Resource Manager and tries "
                         "to fix known problems.");
  Label1_2 = &AddWrapped(group, 12, 64, 394, 49,
                         "This process can take some seconds. Please do not cancel the "
                         "installation process. The progress bar will inform you about the "
                         "progress of the installation process.");
  ProgressBar = &Add<TQvXPProgressBar>(&group);
  ProgressBar->SetBounds(12, 120, 394, 16);
  ProgressBar->SetMax(ProgressMax);
  ProgressLabel = &AddWrapped(group, 12, 152, 394, 36, "");
  Box(page, 258, 41);
}

void TCardmendMainForm::BuildFinishPage() {
  TNotebookPage& page = Notebook1.AddPage("Finish");
  Panel10 = &Box(page, 12, 234);
  TQVGroupBox& group = AddGroup(*Panel10, " Finish process ");
  Label2_0 = &AddWrapped(group, 12, 24, 394, 14, "The system check has been completed.");
  Label2_1 = &AddWrapped(group, 12, 48, 394, 33,
                         "In order that the changes take effect, the computer must be "
                         "restarted.");
  rbRestart = &AddRadio(group);
  rbRestart->SetBounds(56, 92, 350, 16);
  rbRestart->SetText("Yes, restart the computer now.");
  rbLater = &AddRadio(group);
  rbLater->SetBounds(56, 110, 350, 16);
  rbLater->SetText("No, the computer will be restarted later.");
  rbRestart->SetChecked(true);
  Label2_2 = &AddWrapped(group, 12, 144, 394, 33,
                         "Remove all disks from their drives, then click \"Finish\" to "
                         "complete the process.");

  TPanel& lower = Box(page, 258, 41);
  FertigstellenKnopf = &AddButton(lower);
  FertigstellenKnopf->SetBounds(335, 7, 100, 25);
  FertigstellenKnopf->SetText("&Finish");
  FertigstellenKnopf->OnClick = [this] { FertigstellenKnopfClick(); };
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
  struct TReArm {
    TCardmendMainForm& Form;
    ~TReArm() {
      if (!Form.FClosing) Form.Timer1.SetEnabled(true);
    }
  } reArm{*this};
  if (++FTickCount < 10) return;
  FTickCount = 0;
  if (Notebook1.PageIndex() == StartPage) PollPCSCStatus();
}

void TCardmendMainForm::ProgressStep(const std::string& text, DWORD ms) {
  ProgressBar->StepIt();
  ProgressLabel->SetText(text);
  Delay(ms);
}

// Walks the pages with the bar filling; the repair stages take these steps' place.
void TCardmendMainForm::StartKnopfClick() {
  // A second click queued before the page changed reaches the hidden button during the
  // run's own waits.
  if (Notebook1.PageIndex() != StartPage) return;
  Notebook1.SetPageIndex(ProgressPage);
  ProgressBar->SetPosition(0);
  ProgressBar->SetMax(ProgressMax);
  ProgressLabel->SetText("Checking Access Rights in Registry ...");
  Delay(200);
  for (int step = 1; step < ProgressMax; ++step)
    ProgressStep("Verifying Smart Card Resource Manager ...", 40);
  ProgressBar->SetPosition(ProgressMax);
  ProgressLabel->SetText("Process Completed.");
  Notebook1.SetPageIndex(FinishPage);
  FertigstellenKnopf->SetFocus();
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
  if (msg == WM_RESTOREWIZARD) {
    RestoreFromSecondCopy();
    return 0;
  }
  return TForm::WndProc(msg, wp, lp);
}
