#include "app/repair/servicestate.h"

#include <windows.h>

#include "sysutil/handles.h"
#include "sysutil/registryaccess.h"

namespace {

TServiceHandle OpenSCardSvr() {
  const TServiceHandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
  if (!manager) return TServiceHandle();
  // The service handle stays valid after the manager's handle is closed.
  return TServiceHandle(OpenServiceA(manager.Get(), "SCardSvr", SERVICE_QUERY_STATUS));
}

}  // namespace

bool ServiceExists() {
  if (!OpenRegKey(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\SCardSvr", KEY_READ))
    return false;
  return static_cast<bool>(OpenSCardSvr());
}

bool ServiceRunning() {
  const TServiceHandle service = OpenSCardSvr();
  SERVICE_STATUS status{};
  return service && QueryServiceStatus(service.Get(), &status) &&
         status.dwCurrentState == SERVICE_RUNNING;
}
