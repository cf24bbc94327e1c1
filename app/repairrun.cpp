#include "app/repairrun.h"

#include <exception>

#include "app/confirmation.h"
#include "app/mainform.h"
#include "app/permissionrepair.h"
#include "app/registrycheck.h"
#include "app/serviceconfig.h"
#include "app/servicestate.h"
#include "app/texts.h"
#include "dialogs/vexquestion.h"
#include "sysutil/security.h"
#include "sysutil/system.h"
#include "sysutil/wait.h"
#include "sysutil/windowsversion.h"
#include "ui/application.h"

namespace {

constexpr unsigned NoLimit = ~0u;

std::string DateAndTime() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  char text[32];
  std::snprintf(text, sizeof(text), "%04u-%02u-%02u-%02u-%02u", now.wYear, now.wMonth, now.wDay,
                now.wHour, now.wMinute);
  return text;
}

}  // namespace

void TRepairRun::Execute() {
  FCtrlHeld = GetAsyncKeyState(VK_CONTROL) != 0;
  if (!PreconditionsMet()) return;
  WriteHeader();
  if (!Confirmed()) return;
  std::exception_ptr failure;
  try {
    ShowProgressPage();
    Stages();
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

void TRepairRun::WriteHeader() {
  F.FSystemDir = GetSystemDir();
  F.FLog.Clear();
  F.Log("");
  F.Log("*************** Cardmend ***************");
  F.Log(DateAndTime());
  F.Log(WindowsVersionString());
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

void TRepairRun::Stages() {
  VerifyRegistry(F.FLog);
  if (!ServiceExists()) {
    F.Log("PC/SC service does not exist");
    FullRepair();
    return;
  }
  F.Log("PC/SC service exists");
  if (LightRepair() || PermissionRepair() || Reinstall()) return;
  FullRepair();
}

bool TRepairRun::Works() { return F.CheckPCSC() && VerifyRegistry(F.FLog) == 0 && !FForced; }

// Each stage answers whether the run may stop after it.
bool TRepairRun::LightRepair() {
  F.ProgressStep(LangText(sSettingParameters), 200);
  CheckServiceStartType(F.FLog);
  F.ProgressStep(LangText(sConfiguring), 150);
  ConfigureSCardSvr(F.FLog);
  F.ProgressStep(LangText(sConfiguring), 150);
  ConfigureSCardDrv(F.FLog);
  F.ProgressStep(LangText(sStopping), 50);
  if (F.FVista64) {
    F.ProgressStep(LangText(sLaunching), 50);
    F.ProgressStep(LangText(sVerifying), 50);
    return false;
  }
  NetStop();
  F.Log("Starting PC/SC service...");
  F.ProgressStep(LangText(sLaunching), 50);
  NetStart();
  F.ProgressStep(LangText(sVerifying), 50);
  return Works();
}

bool TRepairRun::PermissionRepair() {
  F.ProgressStep(LangText(sAdjustingRights), 200);
  RepairCalaisPermissions(F.FLog);
  F.ProgressStep(LangText(sLaunching), 50);
  if (F.FVista64) {
    F.ProgressStep(LangText(sVerifying), 50);
    return false;
  }
  F.Log("Starting PC/SC service...");
  NetStart();
  F.ProgressStep(LangText(sVerifying), 50);
  return Works();
}

bool TRepairRun::Reinstall() {
  ReinstallService();
  F.ProgressStep(LangText(sSettingParameters), 100);
  VerifyRegistry(F.FLog);
  F.ProgressStep(LangText(sVerifying), 50);
  return Works();
}

void TRepairRun::FullRepair() {
  F.ProgressStep(LangText(sAdjustingRights), 200);
  RepairCalaisPermissions(F.FLog);
  ReinstallService();
  F.ProgressStep(LangText(sSettingParameters), 200);
  CheckServiceStartType(F.FLog);
  F.ProgressStep(LangText(sSettingParameters), 100);
  VerifyRegistry(F.FLog);
  F.ProgressStep(LangText(sLaunching), 50);
  F.Log("Starting PC/SC service...");
  if (!F.FVista64) NetStart();
}

void TRepairRun::ReinstallService() {
  F.Log("Reinstalling PC/SC service");
  // Windows 2000 and 32-bit XP register the resource manager's COM part; later ones have
  // no such registration.
  if (!F.F2003OrXP64 && !IsWinVista()) {
    F.ProgressStep(LangText(sRegistering), 50);
    Run("RegSvr32.exe", "/i /s scardssp.dll", NoLimit);
  }
  F.ProgressStep(LangText(sReinstalling), 50);
  if (!ServiceRunning()) {
    F.Log("PC/SC service is not running");
    Run("scardsvr.exe", "reinstall", 5000);
  }
  F.ProgressStep(LangText(sConfiguring), 100);
  ConfigureSCardSvr(F.FLog);
  F.ProgressStep(LangText(sConfiguring), 100);
  ConfigureSCardDrv(F.FLog);
}

void TRepairRun::NetStop() {
  F.Log("Stopping PC/SC service...");
  Run("net", "stop ScardSvr /yes", 10000);
}

void TRepairRun::NetStart() { Run("net", "start ScardSvr", 5000); }

// A program of the System folder; what it does and answers is not looked at, only the
// checks after it judge. The registration runs in its own window and is waited for;
// the others run hidden and are left running after their time.
void TRepairRun::Run(const std::string& program, const std::string& parameters,
                     unsigned timeoutMs) {
  const std::string path = F.FSystemDir + program;
  if (timeoutMs == NoLimit)
    RunProgram(path, parameters, true);
  else
    RunProgramTimed(path, parameters, timeoutMs, false);
}

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
