#pragma once
// The wizard: one fixed-size window with the pages Start, Progress and Finish.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/repair/diaglog.h"
#include "app/repair/healthcheck.h"
#include "app/repair/pcsc.h"
#include "app/repair/windowsfamily.h"
#include "app/wizard/repairrun.h"
#include "app/wizard/statusprobe.h"
#include "app/wizard/traceviewer.h"
#include "app/wizard/weblink.h"
#include "controls/qvgroupbox.h"
#include "controls/qvlabel.h"
#include "controls/qvxpprogressbar.h"
#include "controls/vexdesign.h"
#include "controls/vexradio.h"
#include "controls/vexxpbutton.h"
#include "ui/bitmap.h"
#include "ui/form.h"
#include "ui/image.h"
#include "ui/imagelist.h"
#include "ui/label.h"
#include "ui/notebook.h"
#include "ui/panel.h"
#include "ui/scaling.h"
#include "ui/timer.h"

class TCardmendMainForm : public TForm, private TRepairPages {
 public:
  static constexpr int StartPage = 0;
  static constexpr int ProgressPage = 1;
  static constexpr int FinishPage = 2;
  // The longest repair makes 23 steps: the end always has room to fill the bar.
  static constexpr int ProgressMax = 25;

  TCardmendMainForm();
  ~TCardmendMainForm() override;

  // The trace of the current repair run.
  void Log(std::string_view text) { FLog.Log(text); }
  void ShowLog() { FTraceViewer.Show(FLog.Lines()); }
  void ProgressStep(const std::string& text, DWORD ms);
  const TDiagnosticLog& Trace() const { return FLog; }
  // Told of each step of the progress page, with its text and pause, before the pause.
  std::function<void(const std::string& text, DWORD ms)> OnProgressStep;

  // The environment checks of the start page and the repair run. The start page's run once
  // its first frame is painted (or before a run that comes first), and only once; the
  // PC/SC status arrives from a probe of its own.
  void CheckEnvironment();
  void LoadPCSCLibrary() { FPCSC->Load(); }
  // A probe still at work keeps its own share of the library.
  void FreePCSCLibrary() { FPCSC = std::make_shared<TPCSCLibrary>(); }
  bool PCSCLoaded() const { return FPCSC->Loaded(); }
  // Starts finding the status out, unless a probe is still at it.
  void PollPCSCStatus() { FProbe.Start(FPCSC); }
  void ShowPCSCStatus();
  void ShowRequirements();
  bool CheckPCSC() { return FPCSC->Check(FLog); }
  bool PCSCStatusKnown() const { return FPCSCStatus.has_value(); }
  // Not running until a probe finds otherwise.
  TLayerStatus PCSCStatus() const { return FPCSCStatus.value_or(TLayerStatus::NotRunning); }
  bool PCSCRunning() const { return FPCSCStatus == TLayerStatus::Running; }

  // Every caption from the text table, in the selected language.
  void ApplyLanguage();
  // The progress and finish pages, which the window makes when a run first shows them;
  // their controls are null until then.
  void BuildLaterPages();
  // The caption, title and theme colours of the program's brand.
  void ApplyBranding();
  // The version text, once CheckEnvironment has read it from the program file.
  void ShowProgramVersion();
  // Shows `text` in the message dialog with the error icon, over this form.
  void ShowErrorMessage(const std::string& text);

  void StartKnopfClick();
  void ReinstallService();
  void AbbruchKnopfClick();
  void FertigstellenKnopfClick();
  void LangLabelLinkCallBack();
  TWebLink& WebLink() { return *FWebLink; }
  void WinInfoLabelLinkCallBack();
  void AdminInfoLabelLinkCallBack();
  void PCSCInfoLabelLinkCallBack();

 protected:
  void Activate() override;  // FormActivate
  // Moved to a display of another scale: the pictures made again, the texts measured anew.
  void ScaleChanged() override;
  bool ShortCut(const MSG& msg) override;  // FormShortCut
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void ShowProgress() override;
  void Step(const std::string& text, DWORD ms) override { ProgressStep(text, ms); }
  void ShowFinish(bool restartNeeded) override;
  void Refuse(const std::string& text) override { ShowErrorMessage(text); }
  bool AskToRepairWorkingSystem() override;
  void ShowTrace() override { ShowLog(); }

  void Timer1Timer();
  void RestoreFromSecondCopy();
  void BuildStartPage();
  void BuildProgressPage();
  void BuildFinishPage();
  void ShowLaterPagesTexts();
  TPanel& Box(TNotebookPage& page, int top, int height);
  TLabel& AddLabel(TWindow& parent, int left, int top);
  TLabel& AddHeading(TWindow& parent, int left, int top);
  TLabel& AddWrapped(TWindow& parent, int left, int top, int width, int height);
  TImage& AddMark(TWindow& parent, int left, int top);
  TQvLabel& AddLink(TWindow& parent, int left, int top, COLORREF hoverColor);
  TQVGroupBox& AddGroup(TPanel& box);
  TVexXPButton& AddButton(TWindow& parent, int left, std::function<void()> click);
  TVEXRadio& AddRadio(TWindow& parent, int top);
  void AlignInfoLinks();
  void ShowFlag();
  void BuildImageLists();

  void ShowMark(TImage& image, int index);
  void StatusFound(TLayerStatus status);
  void ShowRestartAdvice();

  TDiagnosticLog FLog;
  TTraceViewer FTraceViewer;
  std::shared_ptr<TPCSCLibrary> FPCSC = std::make_shared<TPCSCLibrary>();
  TStatusProbe FProbe{Handle()};
  // Unknown until the first probe is done; the line says it is being checked only when
  // that takes longer than a timer tick.
  std::optional<TLayerStatus> FPCSCStatus;
  bool FStatusOverdue = false;
  bool FChecked = false;
  TVariantFlags FVariant;
  bool FRestartNeeded = true;  // what the last run's finish page says
  TBitmap FBitmap;  // pictures of the image list pass through it on their way to an image
  bool FClosing = false;
  int FTickCount = 0;

 public:
  TNotebook& Notebook1;
  TPanel* Panel2 = nullptr;   // start page, upper box
  TPanel* Panel5 = nullptr;   // start page, lower box
  TPanel* Panel7 = nullptr;   // progress page, upper box
  TPanel* Panel10 = nullptr;  // finish page, upper box
  TLabel* WelcomeLabel = nullptr;
  TLabel* Label0_1 = nullptr;
  TLabel* RequirementsLabel = nullptr;
  TImage* WinImage = nullptr;
  TLabel* Label0_2 = nullptr;
  TImage* AdminImage = nullptr;
  TLabel* Label0_3 = nullptr;
  TLabel* StatusLabel = nullptr;
  TImage* PCSCImage = nullptr;
  TLabel* LabelPCSC = nullptr;
  TLabel* AboutLabel = nullptr;
  TLabel* VersionsLabel = nullptr;
  TLabel* CopyrightLabel = nullptr;
  TQvLabel* WinInfoLabel = nullptr;
  TQvLabel* AdminInfoLabel = nullptr;
  TQvLabel* PCSCInfoLabel = nullptr;
  TQvLabel* WebLabel = nullptr;
  TImage* LangImage = nullptr;
  TQvLabel* LangLabel = nullptr;
  TVexXPButton* StartKnopf = nullptr;
  TVexXPButton* AbbruchKnopf = nullptr;
  TQVGroupBox* ProgressGroupBox = nullptr;
  TLabel* Label1_1 = nullptr;
  TLabel* Label1_2 = nullptr;
  TQvXPProgressBar* ProgressBar = nullptr;
  TLabel* ProgressLabel = nullptr;
  TQVGroupBox* BeendenGroupBox = nullptr;
  TLabel* Label2_0 = nullptr;
  TLabel* Label2_1 = nullptr;
  TVEXRadio* rbRestart = nullptr;
  TVEXRadio* rbLater = nullptr;
  TLabel* Label2_2 = nullptr;
  TVexXPButton* FertigstellenKnopf = nullptr;
  TTimer Timer1;
  TImageList ImageList1{Scaled(16), Scaled(16)};
  TImageList LangImageList{Scaled(16), Scaled(16)};

 private:
  std::unique_ptr<TWebLink> FWebLink;
};
