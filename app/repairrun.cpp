#include "app/repairrun.h"

#include <exception>

#include "app/confirmation.h"
#include "app/mainform.h"
#include "app/registrycheck.h"
#include "app/texts.h"
#include "dialogs/vexquestion.h"
#include "sysutil/security.h"
#include "sysutil/wait.h"
#include "sysutil/windowsversion.h"
#include "ui/application.h"

void TRepairRun::Execute() {
  FCtrlHeld = GetAsyncKeyState(VK_CONTROL) != 0;
  if (!PreconditionsMet()) return;
  F.FLog.Clear();
  WriteRunHeader(F.FLog);
  if (!Confirmed()) return;
  std::exception_ptr failure;
  try {
    ShowProgressPage();
    Stages().Run();
  } catch (...) {
    failure = std::current_exception();
  }
  EndPhase();
  if (failure) std::rethrow_exception(failure);
}

bool TRepairRun::PreconditionsMet() {
  if (!IsWin2000OrLater()) {
    F.ShowErrorMessage(LangText(sNeedsWin2000));
    return false;
  }
  if (!IsUserAdmin()) {
    F.ShowErrorMessage(LangText(sNeedsAdmin));
    return false;
  }
  return true;
}

// Where the layer works already, only a "Yes" goes on, and then without early stops.
bool TRepairRun::Confirmed() {
  FForced = false;
  if (!F.PCSCLoaded() || !F.CheckPCSC() || VerifyRegistry(F.FLog) != 0) return true;
  if (VEXQuestion().Ask(RepairConfirmation(&F)) != qaYes) return false;
  FForced = true;
  return true;
}

void TRepairRun::ShowProgressPage() {
  F.Notebook1.SetPageIndex(TCardmendMainForm::ProgressPage);
  F.ProgressBar->SetPosition(0);
  F.ProgressBar->SetMax(TCardmendMainForm::ProgressMax);
  F.ProgressLabel->SetText(LangText(sCheckingRights));
  Delay(200);
}

TRepairStages TRepairRun::Stages() {
  const TVariantFlags flags{F.FXPSP2, F.F2003OrXP64, F.FVista64};
  return TRepairStages(F.FLog, F.FPCSC, flags,
                       [this](const std::string& text, DWORD ms) { F.ProgressStep(text, ms); },
                       FForced);
}

void TRepairRun::ReinstallService() { Stages().ReinstallService(); }

void TRepairRun::EndPhase() {
  TQvXPProgressBar& bar = *F.ProgressBar;
  while (bar.Position() < bar.Max() - 1) F.ProgressStep(LangText(sCompleting), 50);
  bar.SetPosition(bar.Max());
  F.ProgressLabel->SetText(LangText(sCompleted));
  Delay(350);
  bar.SetPosition(0);
  F.ProgressLabel->SetText("");
  F.Notebook1.SetPageIndex(TCardmendMainForm::FinishPage);
  F.FertigstellenKnopf->SetFocus();
  Application().ProcessMessages();
  if (FCtrlHeld) F.ShowLog();
}
