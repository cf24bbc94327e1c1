#include "app/repair/healthcheck.h"

#include <windows.h>

#include <optional>

#include "app/repair/companions.h"
#include "app/repair/diaglog.h"
#include "app/repair/pcsc.h"
#include "app/repair/readerpresence.h"
#include "app/repair/registrycheck.h"
#include "app/repair/servicestate.h"
#include "sysutil/registryaccess.h"
#include "sysutil/registrysnapshot.h"
#include "sysutil/registryvalues.h"
#include "sysutil/windowsversion.h"

namespace {

bool StartsWhenNeeded(DWORD start) {
  if (start == SERVICE_DEMAND_START) return true;
  return start == SERVICE_AUTO_START && WindowsVersion().Version >= wv8;
}

// A start type written since Windows started (by a repair that asked for a restart) is not
// yet the one the manager runs the service with, so both must say so.
bool StartsWhenNeeded() {
  const TRegKey key =
      OpenRegKey(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\SCardSvr", KEY_READ);
  DWORD start = 0;
  const std::optional<DWORD> running = ServiceStartType();
  return key && ReadRegDword(key.Get(), "Start", start) == ERROR_SUCCESS &&
         StartsWhenNeeded(start) && running && StartsWhenNeeded(*running);
}

// Unknown counts as attached: then a stopped service is judged as ever.
bool NoReaderAttached(TDiagnosticLog& log) {
  const std::optional<bool> attached = ReaderAttached();
  if (!attached) log.Log("Cannot tell whether a smart-card reader is attached");
  return attached == false;
}

bool StoppedAsDesigned(const TPCSCLibrary& pcsc) {
  return WindowsVersion().Version >= wv7 && pcsc.Loaded() && ServiceExists() &&
         !ServiceRunning() && StartsWhenNeeded();
}

}  // namespace

bool AwaitsReader(TDiagnosticLog& log, const TPCSCLibrary& pcsc) {
  if (!StoppedAsDesigned(pcsc) || !NoReaderAttached(log) || VerifyRegistry(log, false) != 0)
    return false;
  log.Log("PC/SC service is stopped until a reader is attached, as Windows has it, "
          "and its configuration is in order");
  return true;
}

bool SubsystemInOrder(TDiagnosticLog& log, const TPCSCLibrary& pcsc, bool createMissing) {
  const bool service = pcsc.Loaded() && pcsc.Check(log) ? VerifyRegistry(log, createMissing) == 0
                                                         : AwaitsReader(log, pcsc);
  return service && CompanionsInOrder(log);
}

TLayerStatus LayerStatus(const TPCSCLibrary& pcsc) {
  if (pcsc.Responds()) return TLayerStatus::Running;
  TDiagnosticLog unseen;
  return AwaitsReader(unseen, pcsc) ? TLayerStatus::AwaitingReader : TLayerStatus::NotRunning;
}

std::string StartConfiguration() {
  return RegistrySnapshot(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\SCardSvr") +
         RegistrySnapshot(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\SCardDrv");
}

// A restart helps only where the repair changed what it reads: a layer that still fails
// with the configuration it started with gains nothing from it.
TRepairOutcome JudgeRepair(const TPCSCLibrary& pcsc, const std::string& before) {
  TDiagnosticLog unseen;
  if (SubsystemInOrder(unseen, pcsc)) return TRepairOutcome::InOrder;
  return StartConfiguration() != before ? TRepairOutcome::AfterRestart : TRepairOutcome::Failed;
}
