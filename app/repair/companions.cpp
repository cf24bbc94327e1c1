#include "app/repair/companions.h"

#include <windows.h>

#include <optional>
#include <string>

#include "app/repair/diaglog.h"
#include "app/repair/servicestate.h"
#include "sysutil/registryaccess.h"
#include "sysutil/registryvalues.h"
#include "sysutil/windowsversion.h"

namespace {

struct TCompanion {
  const char* Name;
  const char* Title;
};

constexpr TCompanion Companions[] = {
    {"ScDeviceEnum", "Smart Card Device Enumeration service"},
    {"CertPropSvc", "Certificate Propagation service"},
};

bool Looked() { return WindowsVersion().Version >= wv8; }

std::string Named(const TCompanion& companion) {
  return std::string(companion.Title) + " (" + companion.Name + ")";
}

// The registry's start type counts too: the service manager takes it at the next start.
bool Disabled(const TCompanion& companion, DWORD managerStart) {
  DWORD start = 0;
  const TRegKey key = OpenRegKey(
      HKEY_LOCAL_MACHINE, std::string("SYSTEM\\CurrentControlSet\\Services\\") + companion.Name, KEY_READ);
  const bool registryDisabled =
      key && ReadRegDword(key.Get(), "Start", start) == ERROR_SUCCESS && start == SERVICE_DISABLED;
  return managerStart == SERVICE_DISABLED || registryDisabled;
}

}  // namespace

bool CompanionsInOrder(TDiagnosticLog& log) {
  if (!Looked()) return true;
  bool inOrder = true;
  for (const TCompanion& companion : Companions) {
    const std::optional<DWORD> start = ServiceStartType(companion.Name);
    if (!start) {
      log.Log(Named(companion) + " does not exist");
      inOrder = false;
    } else if (Disabled(companion, *start)) {
      log.Log(Named(companion) + " is disabled");
      inOrder = false;
    }
  }
  return inOrder;
}

void EnableCompanions(TDiagnosticLog& log) {
  if (!Looked()) return;
  for (const TCompanion& companion : Companions) {
    const std::optional<DWORD> start = ServiceStartType(companion.Name);
    if (!start || !Disabled(companion, *start)) continue;
    log.Log(SetDemandStart(companion.Name) ? Named(companion) + " set to start on demand"
                                           : Named(companion) + " cannot be enabled");
  }
}
