#include "app/wizard/repairrun.h"

#include <exception>

#include "app/repair/diaglog.h"
#include "app/repair/healthcheck.h"
#include "app/repair/pcsc.h"
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
  const std::string before = StartConfiguration();
  std::exception_ptr failure;
  try {
    FPages.ShowProgress();
    Stages().Run();
  } catch (...) {
    failure = std::current_exception();
  }
  FPages.ShowFinish(RestartNeeded(before));
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

// Where the subsystem is in order already, only a "Yes" goes on, and then without early
// stops.
bool TRepairRun::Confirmed() {
  FForced = false;
  if (!SubsystemInOrder(FLog, FPCSC, true)) return true;
  if (!FPages.AskToRepairWorkingSystem()) return false;
  FForced = true;
  return true;
}

// When the judgement itself fails, the restart stays the choice it always was.
bool TRepairRun::RestartNeeded(const std::string& before) const {
  try {
    return JudgeRepair(FPCSC, before) == TRepairOutcome::AfterRestart;
  } catch (...) {
    return true;
  }
}

TRepairStages TRepairRun::Stages() {
  return TRepairStages(FLog, FPCSC, FVariant,
                       [this](const std::string& text, DWORD ms) { FPages.Step(text, ms); }, FForced);
}

void TRepairRun::ReinstallService() { Stages().ReinstallService(); }
