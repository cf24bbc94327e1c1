#include "app/repair/servicestate.h"

#include <windows.h>

#include <vector>

#include "sysutil/handles.h"
#include "sysutil/registryaccess.h"

namespace {

TServiceHandle OpenNamedService(const char* name, DWORD access) {
  const TServiceHandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
  if (!manager) return TServiceHandle();
  // The service handle stays valid after the manager's handle is closed.
  return TServiceHandle(OpenServiceA(manager.Get(), name, access));
}

TServiceHandle OpenSCardSvr(DWORD access = SERVICE_QUERY_STATUS) {
  return OpenNamedService("SCardSvr", access);
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

std::optional<DWORD> ServiceStartType(const char* name) {
  const TServiceHandle service = OpenNamedService(name, SERVICE_QUERY_CONFIG);
  if (!service) return std::nullopt;
  DWORD size = 0;
  QueryServiceConfigA(service.Get(), nullptr, 0, &size);
  if (size < sizeof(QUERY_SERVICE_CONFIGA)) return std::nullopt;
  std::vector<DWORD> buffer(size / sizeof(DWORD) + 1);
  auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer.data());
  if (!QueryServiceConfigA(service.Get(), config, static_cast<DWORD>(buffer.size() * sizeof(DWORD)),
                           &size))
    return std::nullopt;
  return config->dwStartType;
}

bool SetDemandStart(const char* name) {
  const TServiceHandle service = OpenNamedService(name, SERVICE_CHANGE_CONFIG);
  return service && ChangeServiceConfigA(service.Get(), SERVICE_NO_CHANGE, SERVICE_DEMAND_START,
                                         SERVICE_NO_CHANGE, nullptr, nullptr, nullptr, nullptr,
                                         nullptr, nullptr, nullptr);
}
