#include "tests/doubles/scardsvr/registration.h"

#include "sysutil/registryaccess.h"

namespace {

const wchar_t kName[] = L"SCardSvr";
const char kKey[] = "SYSTEM\\CurrentControlSet\\Services\\SCardSvr";

// Dependencies as the manager takes them: each name ended by a NUL, one more NUL at the end.
std::wstring MultiString(const std::vector<std::wstring>& names) {
  std::wstring text;
  for (const std::wstring& name : names) text += name + L'\0';
  return text + L'\0';
}

DWORD WriteExtraValues(const TSCardSvrConfig& config) {
  LONG status = ERROR_SUCCESS;
  const TRegKey key = OpenRegKey(HKEY_LOCAL_MACHINE, kKey, KEY_SET_VALUE, &status);
  if (!key) return static_cast<DWORD>(status);
  if (config.ServiceSidType) {
    const DWORD restricted = 1;
    status = RegSetValueExW(key.Get(), L"ServiceSidType", 0, REG_DWORD,
                            reinterpret_cast<const BYTE*>(&restricted), sizeof(restricted));
  } else {
    RegDeleteValueW(key.Get(), L"ServiceSidType");
  }
  if (config.Group.empty()) RegDeleteValueW(key.Get(), L"Group");
  if (config.DependOnService.empty()) RegDeleteValueW(key.Get(), L"DependOnService");
  RegDeleteValueW(key.Get(), L"DependOnGroup");
  return static_cast<DWORD>(status);
}

bool KeyExists() { return static_cast<bool>(OpenRegKey(HKEY_LOCAL_MACHINE, kKey, KEY_READ)); }

}  // namespace

TSCardSvrConfig HealthyConfig() {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof(version);
  GetVersionExW(&version);
  const DWORD v = version.dwMajorVersion * 100 + version.dwMinorVersion;
  TSCardSvrConfig config;
  config.ImagePath = L"%SystemRoot%\\system32\\SCardSvr.exe";
  config.DisplayName = L"Smart Card";
  config.ObjectName = v <= 500 ? L"LocalSystem" : L"NT AUTHORITY\\LocalService";
  if (v >= 501) config.Group = L"SmartCardGroup";
  if (v >= 600) {
    config.ServiceSidType = true;
    config.DependOnService = {L"PlugPlay"};
  }
  return config;
}

DWORD RegisterSCardSvr(const TSCardSvrConfig& config) {
  const TScmHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
  if (!manager) return GetLastError();
  const std::wstring dependencies = MultiString(config.DependOnService);
  const wchar_t* group = config.Group.empty() ? nullptr : config.Group.c_str();
  TScmHandle service(OpenServiceW(manager.Get(), kName, SERVICE_ALL_ACCESS));
  if (service) {
    // An empty group must be given as "" to clear it; null would keep the old one.
    if (!ChangeServiceConfigW(service.Get(), config.Type, config.Start, config.ErrorControl,
                              config.ImagePath.c_str(), group ? group : L"", nullptr,
                              dependencies.c_str(), config.ObjectName.c_str(), L"",
                              config.DisplayName.c_str()))
      return GetLastError();
  } else {
    service.Reset(CreateServiceW(manager.Get(), kName, config.DisplayName.c_str(),
                                 SERVICE_ALL_ACCESS, config.Type, config.Start,
                                 config.ErrorControl, config.ImagePath.c_str(), group, nullptr,
                                 dependencies.c_str(), config.ObjectName.c_str(), nullptr));
    if (!service) return GetLastError();
  }
  return WriteExtraValues(config);
}

DWORD RegisterSCardSvrIfMissing(const TSCardSvrConfig& config) {
  const TScmHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
  if (!manager) return GetLastError();
  const TScmHandle service(OpenServiceW(manager.Get(), kName, SERVICE_QUERY_CONFIG));
  if (service && KeyExists()) return ERROR_SUCCESS;
  return RegisterSCardSvr(config);
}

DWORD CreateCalaisKeys() {
  for (const char* sub : {"Current", "Readers", "SmartCards"}) {
    LONG status = ERROR_SUCCESS;
    CreateRegKey(HKEY_LOCAL_MACHINE, std::string("Software\\Microsoft\\Cryptography\\Calais\\") + sub,
                 KEY_READ, &status);
    if (status != ERROR_SUCCESS) return static_cast<DWORD>(status);
  }
  return ERROR_SUCCESS;
}
