#include "app/repair/healthcheck.h"

#include <windows.h>

#include <optional>

#include "app/repair/diaglog.h"
#include "app/repair/pcsc.h"
#include "app/repair/registrycheck.h"
#include "app/repair/servicestate.h"
#include "sysutil/registryaccess.h"
#include "sysutil/registryvalues.h"
#include "sysutil/windowsversion.h"

namespace {

constexpr DWORD AutoStart = 2;
constexpr DWORD DemandStart = 3;

bool Windows8OrLater() { return WindowsVersion().Version >= wv8; }

bool StartsAutomaticallyOrOnDemand(DWORD start) {
  return start == AutoStart || start == DemandStart;
}

// Windows 8 itself sets the service to start on demand, when a reader arrives. Both the
// registry and the service manager must say so: a start type written since Windows started
// (by a repair that asked for a restart) is not the one the manager runs the service with.
bool StartsWhenNeeded() {
  const TRegKey key =
      OpenRegKey(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\SCardSvr", KEY_READ);
  DWORD start = 0;
  const std::optional<DWORD> running = ServiceStartType();
  return key && ReadRegDword(key.Get(), "Start", start) == ERROR_SUCCESS &&
         StartsAutomaticallyOrOnDemand(start) && running && StartsAutomaticallyOrOnDemand(*running);
}

bool StoppedByDesign(TDiagnosticLog& log, const TPCSCLibrary& pcsc) {
  if (!Windows8OrLater() || !pcsc.Loaded() || !ServiceExists() || ServiceRunning() ||
      !StartsWhenNeeded() || VerifyRegistry(log, false) != 0)
    return false;
  log.Log("PC/SC service is stopped: Windows 8 and later stop it while no reader is attached, "
          "and its configuration is in order");
  return true;
}

}  // namespace

bool LayerWorks(TDiagnosticLog& log, const TPCSCLibrary& pcsc) {
  return pcsc.Loaded() && pcsc.Check(log) && VerifyRegistry(log, false) == 0;
}

bool SubsystemInOrder(TDiagnosticLog& log, const TPCSCLibrary& pcsc) {
  if (pcsc.Loaded() && pcsc.Check(log)) return VerifyRegistry(log, false) == 0;
  return StoppedByDesign(log, pcsc);
}
