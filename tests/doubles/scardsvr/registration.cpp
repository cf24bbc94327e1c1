#include "tests/doubles/scardsvr/registration.h"

#include "sysutil/registryaccess.h"

namespace {

const wchar_t Name[] = L"SCardSvr";
const char ServicePath[] = "SYSTEM\\CurrentControlSet\\Services\\SCardSvr";

// Dependencies as the manager takes them: each name ended by a NUL, one more NUL at the end.
std::wstring MultiString(const std::vector<std::wstring>& names) {
  std::wstring text;
  for (const std::wstring& name : names) text += name + L'\0';
  return text + L'\0';
}

DWORD WriteExtraValues(const TSCardSvrConfig& config) {
  LONG status = ERROR_SUCCESS;
  const TRegKey key = OpenRegKey(HKEY_LOCAL_MACHINE, ServicePath, KEY_SET_VALUE, &status);
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

// SCardSvr among the services of an svchost group, in one registry view.
DWORD ListInGroup(const wchar_t* groupName, REGSAM view) {
  HKEY raw = nullptr;
  LONG status = RegCreateKeyExW(HKEY_LOCAL_MACHINE,
                                L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Svchost", 0,
                                nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE | view, nullptr, &raw,
                                nullptr);
  if (status != ERROR_SUCCESS) return static_cast<DWORD>(status);
  const TRegKey group(raw);
  std::vector<wchar_t> names(4096, L'\0');
  DWORD size = static_cast<DWORD>((names.size() - 2) * sizeof(wchar_t));
  if (RegQueryValueExW(group.Get(), groupName, nullptr, nullptr,
                       reinterpret_cast<BYTE*>(names.data()), &size) != ERROR_SUCCESS)
    size = 0;
  std::vector<std::wstring> members;
  for (const wchar_t* name = names.data(); *name; name += lstrlenW(name) + 1)
    members.emplace_back(name);
  for (const std::wstring& member : members)
    if (lstrcmpiW(member.c_str(), L"SCardSvr") == 0) return ERROR_SUCCESS;
  members.emplace_back(L"SCardSvr");
  const std::wstring text = MultiString(members);
  return static_cast<DWORD>(RegSetValueExW(group.Get(), groupName, 0, REG_MULTI_SZ,
                                           reinterpret_cast<const BYTE*>(text.data()),
                                           static_cast<DWORD>(text.size() * sizeof(wchar_t))));
}

// What svchost.exe needs for the svchost forms of the image path: the DLL, and the service
// in the group Vista names (LocalService) and the one Windows 7 and later name, in both
// registry views since the manager may start the 32-bit svchost (for a service a 32-bit
// program registered) or the 64-bit one.
DWORD RegisterServiceDll() {
  LONG status = ERROR_SUCCESS;
  const TRegKey parameters =
      CreateRegKey(HKEY_LOCAL_MACHINE, std::string(ServicePath) + "\\Parameters", KEY_SET_VALUE, &status);
  if (!parameters) return static_cast<DWORD>(status);
  const wchar_t dll[] = L"%SystemRoot%\\System32\\SCardSvr.dll";
  status = RegSetValueExW(parameters.Get(), L"ServiceDll", 0, REG_EXPAND_SZ,
                          reinterpret_cast<const BYTE*>(dll), sizeof(dll));
  if (status != ERROR_SUCCESS) return static_cast<DWORD>(status);
  for (const wchar_t* group : {L"LocalService", L"LocalServiceAndNoImpersonation"})
    for (const REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY})
      if (const DWORD listed = ListInGroup(group, view); listed != ERROR_SUCCESS) return listed;
  return ERROR_SUCCESS;
}

bool KeyExists() { return static_cast<bool>(OpenRegKey(HKEY_LOCAL_MACHINE, ServicePath, KEY_READ)); }

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
    // The name Vista and later keep in the service's own resources.
    config.DisplayName = L"@%SystemRoot%\\System32\\SCardSvr.dll,-1";
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
  TScmHandle service(OpenServiceW(manager.Get(), Name, SERVICE_ALL_ACCESS));
  if (service) {
    // An empty group must be given as "" to clear it; null would keep the old one.
    if (!ChangeServiceConfigW(service.Get(), config.Type, config.Start, config.ErrorControl,
                              config.ImagePath.c_str(), group ? group : L"", nullptr,
                              dependencies.c_str(), config.ObjectName.c_str(), L"",
                              config.DisplayName.c_str()))
      return GetLastError();
  } else {
    service.Reset(CreateServiceW(manager.Get(), Name, config.DisplayName.c_str(),
                                 SERVICE_ALL_ACCESS, config.Type, config.Start,
                                 config.ErrorControl, config.ImagePath.c_str(), group, nullptr,
                                 dependencies.c_str(), config.ObjectName.c_str(), nullptr));
    if (!service) return GetLastError();
  }
  const DWORD extra = WriteExtraValues(config);
  return extra != ERROR_SUCCESS ? extra : RegisterServiceDll();
}

DWORD RegisterSCardSvrIfMissing(const TSCardSvrConfig& config) {
  const TScmHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
  if (!manager) return GetLastError();
  const TScmHandle service(OpenServiceW(manager.Get(), Name, SERVICE_QUERY_CONFIG));
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
