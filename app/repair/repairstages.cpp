#include "app/repair/repairstages.h"

#include <cstdio>

#include "app/repair/companions.h"
#include "app/repair/diaglog.h"
#include "app/repair/pcsc.h"
#include "app/repair/permissionrepair.h"
#include "app/repair/registrycheck.h"
#include "app/repair/serviceconfig.h"
#include "app/repair/servicestate.h"
#include "app/texts.h"
#include "sysutil/system.h"
#include "sysutil/wait.h"
#include "sysutil/windowsversion.h"

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

void WriteRunHeader(TDiagnosticLog& log) {
  log.Log("");
  log.Log("*************** Cardmend ***************");
  log.Log(DateAndTime());
  log.Log(WindowsVersionString());
}

TRepairStages::TRepairStages(TDiagnosticLog& log, const TPCSCLibrary& pcsc,
                             const TVariantFlags& flags, TStep step, bool forced)
    : FLog(log), FPCSC(pcsc), FFlags(flags), FStep(std::move(step)), FForced(forced),
      FSystemDir(GetSystemDir()) {}

bool TRepairStages::Run() {
  VerifyRegistry(FLog);
  if (!ServiceExists()) {
    FLog.Log("PC/SC service does not exist");
    FullRepair();
    return false;
  }
  FLog.Log("PC/SC service exists");
  if (LightRepair() || PermissionRepair() || Reinstall()) return true;
  FullRepair();
  return false;
}

bool TRepairStages::Works() { return FPCSC.Check(FLog) && VerifyRegistry(FLog) == 0 && !FForced; }

// Each stage answers whether the run may stop after it.
bool TRepairStages::LightRepair() {
  FStep(LangText(sSettingParameters), 200);
  CheckServiceStartType(FLog);
  FStep(LangText(sConfiguring), 150);
  ConfigureSCardSvr(FLog);
  FStep(LangText(sConfiguring), 150);
  ConfigureSCardDrv(FLog);
  EnableCompanions(FLog);
  FStep(LangText(sStopping), 50);
  if (FFlags.Vista64) {
    FStep(LangText(sLaunching), 50);
    FStep(LangText(sVerifying), 50);
    return false;
  }
  NetStop();
  FLog.Log("Starting PC/SC service...");
  FStep(LangText(sLaunching), 50);
  NetStart();
  FStep(LangText(sVerifying), 50);
  return Works();
}

bool TRepairStages::PermissionRepair() {
  FStep(LangText(sAdjustingRights), 200);
  RepairCalaisPermissions(FLog);
  FStep(LangText(sLaunching), 50);
  if (FFlags.Vista64) {
    FStep(LangText(sVerifying), 50);
    return false;
  }
  FLog.Log("Starting PC/SC service...");
  NetStart();
  FStep(LangText(sVerifying), 50);
  return Works();
}

bool TRepairStages::Reinstall() {
  ReinstallService();
  FStep(LangText(sSettingParameters), 100);
  VerifyRegistry(FLog);
  FStep(LangText(sVerifying), 50);
  return Works();
}

void TRepairStages::FullRepair() {
  FStep(LangText(sAdjustingRights), 200);
  RepairCalaisPermissions(FLog);
  ReinstallService();
  FStep(LangText(sSettingParameters), 200);
  CheckServiceStartType(FLog);
  FStep(LangText(sSettingParameters), 100);
  VerifyRegistry(FLog);
  FStep(LangText(sLaunching), 50);
  FLog.Log("Starting PC/SC service...");
  if (!FFlags.Vista64) NetStart();
}

void TRepairStages::ReinstallService() {
  FLog.Log("Reinstalling PC/SC service");
  // Windows 2000 and 32-bit XP register the resource manager's COM part; later ones have
  // no such registration.
  if (!FFlags.Is2003OrXP64 && !IsWinVista()) {
    FStep(LangText(sRegistering), 50);
    Start("RegSvr32.exe", "/i /s scardssp.dll", NoLimit);
  }
  FStep(LangText(sReinstalling), 50);
  if (!ServiceRunning()) {
    FLog.Log("PC/SC service is not running");
    Start("scardsvr.exe", "reinstall", 5000);
  }
  FStep(LangText(sConfiguring), 100);
  ConfigureSCardSvr(FLog);
  FStep(LangText(sConfiguring), 100);
  ConfigureSCardDrv(FLog);
  EnableCompanions(FLog);
}

void TRepairStages::NetStop() {
  FLog.Log("Stopping PC/SC service...");
  Start("net", "stop ScardSvr /yes", 10000);
}

void TRepairStages::NetStart() { Start("net", "start ScardSvr", 5000); }

// A program of the System folder; what it does and answers is not looked at, only the
// checks after it judge. The registration runs in its own window and is waited for;
// the others run hidden and are left running after their time.
void TRepairStages::Start(const std::string& program, const std::string& parameters,
                          unsigned timeoutMs) {
  const std::string path = FSystemDir + program;
  if (timeoutMs == NoLimit)
    RunProgram(path, parameters, true);
  else
    RunProgramTimed(path, parameters, timeoutMs, false);
}
