#include "app/repair/serviceconfig.h"

#include <string>
#include <vector>

#include "app/repair/diaglog.h"
#include "app/repair/windowsfamily.h"
#include "sysutil/registryaccess.h"
#include "sysutil/registryvalues.h"
#include "sysutil/windowsversion.h"

namespace {

const char* const ServicesKey = "SYSTEM\\CurrentControlSet\\Services";
const char* const SCardSvrKey = "SYSTEM\\CurrentControlSet\\Services\\SCardSvr";
const char* const SCardDrvKey = "SYSTEM\\CurrentControlSet\\Services\\SCardDrv";
const char* const LocalService = "NT AUTHORITY\\LocalService";
constexpr DWORD AutoStart = 2;
constexpr DWORD ShareProcess = 32;

// One value to write; the groups below stop at the first that fails.
struct TSetting {
  const char* Name;
  DWORD Type;
  std::string Text;
  DWORD Number = 0;
};

LONG Write(HKEY key, const TSetting& setting) {
  switch (setting.Type) {
    case REG_DWORD: return WriteRegDword(key, setting.Name, setting.Number);
    case REG_EXPAND_SZ: return WriteRegExpandString(key, setting.Name, setting.Text);
    case REG_MULTI_SZ: return WriteRegMultiString(key, setting.Name, {setting.Text});
    default: return WriteRegString(key, setting.Name, setting.Text);
  }
}

bool WriteAll(HKEY key, const std::vector<TSetting>& settings) {
  for (const TSetting& setting : settings)
    if (Write(key, setting) != ERROR_SUCCESS) return false;
  return true;
}

TSetting Number(const char* name, DWORD value) { return {name, REG_DWORD, {}, value}; }
TSetting Text(const char* name, DWORD type, std::string value) {
  return {name, type, std::move(value)};
}

std::vector<TSetting> VistaSettings() {
  std::vector<TSetting> settings = {Number("Type", ShareProcess), Number("ErrorControl", 1),
                                    Number("ServiceSidType", 1)};
  if (!KeepsServiceImagePath())
    settings.push_back(
        Text("ImagePath", REG_EXPAND_SZ, "%SystemRoot%\\system32\\svchost.exe -k LocalService"));
  settings.push_back(Text("DisplayName", REG_SZ, "@%SystemRoot%\\System32\\SCardSvr.dll,-1"));
  settings.push_back(Text("DependOnService", REG_MULTI_SZ, "PlugPlay"));
  return settings;
}

std::vector<TSetting> Family52Settings() {
  return {Number("Type", ShareProcess), Number("ErrorControl", 0),
          Text("ImagePath", REG_EXPAND_SZ, "%SystemRoot%\\system32\\SCardSvr.exe"),
          Text("DisplayName", REG_SZ, "Smart Card")};
}

// Account, start type, no group dependency and, where it belongs, the group.
bool WriteCommonSettings(HKEY key) {
  const char* account = IsWin2000() ? "LocalSystem" : LocalService;
  if (WriteRegString(key, "ObjectName", account) != ERROR_SUCCESS) return false;
  if (WriteRegDword(key, "Start", AutoStart) != ERROR_SUCCESS) return false;
  // A value that is not there needs no deleting; a refused delete is a failing write.
  const LONG deleted = DeleteRegValue(key, "DependOnGroup");
  if (deleted != ERROR_SUCCESS && deleted != ERROR_FILE_NOT_FOUND) return false;
  if (IsXP32SP2() || Is52Family() || IsWinVista())
    return WriteRegString(key, "Group", "SmartCardGroup") == ERROR_SUCCESS;
  return true;
}

}  // namespace

void CheckServiceStartType(TDiagnosticLog& log) {
  log.Log("Checking service start type (HKLM\\SYSTEM\\CurrentControlSet\\Services\\SCardSvr)");
  const TRegKey key = OpenRegKey(HKEY_LOCAL_MACHINE, SCardSvrKey, KEY_ALL_ACCESS);
  if (!key) {
    log.Log("SYSTEM\\CurrentControlSet\\Services\\SCardSvr not found");
    return;
  }
  if (!RegValueExists(key.Get(), "Start")) {
    log.Log("Cannot access start type");
    return;
  }
  DWORD start = 0;
  if (ReadRegDword(key.Get(), "Start", start) != ERROR_SUCCESS || start == AutoStart) return;
  log.Log("Invalid start type");
  if (WriteRegDword(key.Get(), "Start", AutoStart) == ERROR_SUCCESS) log.Log("Start type changed");
}

void ConfigureSCardSvr(TDiagnosticLog& log) {
  log.Log("Setting SCardSrv object name (HKLM\\SYSTEM\\CurrentControlSet\\Services\\SCardSvr)");
  const TRegKey key = OpenRegKey(HKEY_LOCAL_MACHINE, SCardSvrKey, KEY_ALL_ACCESS);
  if (!key || !WriteCommonSettings(key.Get())) return;
  if (IsWinVista()) WriteAll(key.Get(), VistaSettings());
  if (Is52Family()) WriteAll(key.Get(), Family52Settings());
}

void ConfigureSCardDrv(TDiagnosticLog& log) {
  log.Log("Setting SCardDrv object name (HKLM\\SYSTEM\\CurrentControlSet\\Services\\SCardDrv)");
  if (IsXP32()) {
    if (const TRegKey key = OpenRegKey(HKEY_LOCAL_MACHINE, SCardDrvKey, KEY_ALL_ACCESS))
      WriteRegString(key.Get(), "ObjectName", LocalService);
    return;
  }
  if (!Is52Family() && !IsWinVista()) return;
  const TRegKey services = OpenRegKey(HKEY_LOCAL_MACHINE, ServicesKey, KEY_ALL_ACCESS);
  if (services && RegSubKeyExists(services.Get(), "SCardDrv"))
    DeleteRegKeyTree(services.Get(), "SCardDrv");
}
