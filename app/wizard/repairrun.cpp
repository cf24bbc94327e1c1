#include "app/wizard/repairrun.h"

#include <exception>

#include "app/repair/diaglog.h"
#include "app/repair/pcsc.h"
#include "app/repair/registrycheck.h"
#include "app/texts.h"
#include "sysutil/security.h"
#include "sysutil/windowsversion.h"

void TRepairRun::Execute() {
  // Down now: the low bit only says it was pressed at some time since the last call.
  FCtrlHeld = GetAsyncKeyState(VK_CONTROL) < 0;
  if (!PreconditionsMet()) return;
  FLog.Clear();
  WriteRunHeader(FLog);
  if (!Confirmed()) return;
  std::exception_ptr failure;
  try {
    FPages.ShowProgress();
    Stages().Run();
  } catch (...) {
    failure = std::current_exception();
  }
  FPages.ShowFinish();
  if (FCtrlHeld) FPages.ShowTrace();
  if (failure) std::rethrow_exception(failure);
}

bool TRepairRun::PreconditionsMet() {
  if (!IsWin2000OrLater()) {
    FPages.Refuse(LangText(sNeedsWin2000));
    return false;
  }
  if (!IsUserAdmin()) {
    FPages.Refuse(LangText(sNeedsAdmin));
    return false;
  }
  return true;
}

// Where the layer works already, only a "Yes" goes on, and then without early stops.
bool TRepairRun::Confirmed() {
  FForced = false;
  if (!FPCSC.Loaded() || !FPCSC.Check(FLog) || VerifyRegistry(FLog) != 0) return true;
  if (!FPages.AskToRepairWorkingSystem()) return false;
  FForced = true;
  return true;
}

TRepairStages TRepairRun::Stages() {
  return TRepairStages(FLog, FPCSC, FVariant,
                       [this](const std::string& text, DWORD ms) { FPages.Step(text, ms); }, FForced);
}

void TRepairRun::ReinstallService() { Stages().ReinstallService(); }
