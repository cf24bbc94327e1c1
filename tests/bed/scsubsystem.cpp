#include "tests/bed/scsubsystem.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <algorithm>
#include <vector>

#include "sysutil/registryaccess.h"
#include "sysutil/security.h"
#include "sysutil/sid.h"
#include "tests/bed/programs.h"
#include "tests/bed/registryexport.h"
#include "tests/bed/testbed.h"
#include "tests/doubles/scardsvr/registration.h"

namespace {

const char kServiceKey[] = "SYSTEM\\CurrentControlSet\\Services\\SCardSvr";
const char kDriverKey[] = "SYSTEM\\CurrentControlSet\\Services\\SCardDrv";
const char kCalais[] = "Software\\Microsoft\\Cryptography\\Calais";
const char kReaders[] = "Software\\Microsoft\\Cryptography\\Calais\\Readers";
const char* const kCalaisSubKeys[] = {"Current", "Readers", "SmartCards"};
const char kKnobs[] = "Software\\CardmendTest\\WinSCard";
constexpr DWORD kWaitMs = 15000;
const wchar_t kSvchostImage[] = L"%SystemRoot%\\system32\\svchost.exe -k LocalService";

// The values the healthy key holds; Wine's manager adds the last two itself.
const wchar_t* const kHealthyValues[] = {L"Type",        L"Start",          L"ErrorControl",
                                         L"ImagePath",   L"DisplayName",    L"ObjectName",
                                         L"Group",       L"ServiceSidType", L"DependOnService", L"PreshutdownTimeout",
                                         L"WOW64"};

std::wstring SystemFolder() {
  wchar_t path[MAX_PATH];
  const UINT n = GetSystemDirectoryW(path, MAX_PATH);
  return std::wstring(path, n) + L"\\";
}

TScmHandle Manager(DWORD access = SC_MANAGER_ALL_ACCESS) {
  return TScmHandle(OpenSCManagerW(nullptr, nullptr, access));
}

TScmHandle Service(const wchar_t* name, DWORD access = SERVICE_ALL_ACCESS) {
  const TScmHandle manager = Manager(SC_MANAGER_CONNECT);
  if (!manager) return TScmHandle();
  return TScmHandle(OpenServiceW(manager.Get(), name, access));
}

DWORD CurrentState(const TScmHandle& service) {
  SERVICE_STATUS status{};
  return QueryServiceStatus(service.Get(), &status) ? status.dwCurrentState : 0;
}

bool WaitForState(const TScmHandle& service, DWORD state) {
  return WaitUntil([&] { return CurrentState(service) == state; }, kWaitMs);
}

DWORD RunAndWait(const std::wstring& path, const std::wstring& arguments) {
  const TStartedProgram program = StartProgram(path, arguments);
  if (!program.Process) return GetLastError();
  return WaitForExit(program.Process, 60000);
}

// Wine's manager is started by wineboot's prefix start (--init; a plain or -r wineboot
// leaves it stopped), and from the 64-bit wineboot, since a 32-bit caller asking for
// system32\services.exe would get the copy in syswow64. Detached and without inherited
// handles: the manager and every service it starts would otherwise keep this test's
// standard output, and CTest would wait for it to end. (Wine hands the Unix stderr on
// regardless; tests/bed/wine-emu.sh keeps that away from CTest.)
void StartWineboot() {
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  std::wstring commandLine = L"\"" + NativeSystemFolder() + L"wineboot.exe\" --init";
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                             DETACHED_PROCESS, nullptr, nullptr, &si, &pi))
      << "error " << GetLastError();
  const THandle process(pi.hProcess), thread(pi.hThread);
  WaitForExit(process, 60000);
}


// Changes what both the manager and the registry hold; SERVICE_NO_CHANGE elsewhere.
// Wine 8's manager drops the dependencies when none are given, so they always are.
void Reconfigure(DWORD start, const wchar_t* group, const wchar_t* account,
                 const wchar_t* image = nullptr) {
  const TScmHandle service = Service(L"SCardSvr");
  ASSERT_TRUE(service) << "SCardSvr is not registered";
  std::wstring dependencies;
  for (const std::wstring& name : HealthyConfig().DependOnService) dependencies += name + L'\0';
  dependencies += L'\0';
  ASSERT_TRUE(ChangeServiceConfigW(service.Get(), SERVICE_NO_CHANGE, start, SERVICE_NO_CHANGE,
                                   image, group, nullptr, dependencies.c_str(), account,
                                   nullptr, nullptr))
      << "error " << GetLastError();
}

DWORD RegNumber(const char* key, const wchar_t* name) {
  const TRegKey open = OpenRegKey(HKEY_LOCAL_MACHINE, key, KEY_QUERY_VALUE);
  DWORD value = 0, size = sizeof(value);
  if (!open || RegQueryValueExW(open.Get(), name, nullptr, nullptr,
                                reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS)
    return 0;
  return value;
}

void DeleteValue(const char* key, const wchar_t* name) {
  const TRegKey open = OpenRegKey(HKEY_LOCAL_MACHINE, key, KEY_SET_VALUE);
  ASSERT_TRUE(open);
  RegDeleteValueW(open.Get(), name);
}

// Values tests or repairs added stay out of the baseline.
void KeepOnlyHealthyValues() {
  const TRegKey key = OpenRegKey(HKEY_LOCAL_MACHINE, kServiceKey, KEY_READ | KEY_SET_VALUE);
  ASSERT_TRUE(key);
  std::vector<std::wstring> extra;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD length = 256;
    if (RegEnumValueW(key.Get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    const std::wstring value(name, length);
    if (std::none_of(std::begin(kHealthyValues), std::end(kHealthyValues),
                     [&](const wchar_t* healthy) { return lstrcmpiW(healthy, value.c_str()) == 0; }))
      extra.push_back(value);
  }
  for (const std::wstring& name : extra) RegDeleteValueW(key.Get(), name.c_str());
}

const TSid& Everyone() {
  static const TSid sid(1, 1, SECURITY_WORLD_RID);
  return sid;
}
const TSid& Administrators() {
  static const TSid sid = AdministratorsSid();
  return sid;
}
const TSid& LocalSystem() {
  static const TSid sid(5, 1, SECURITY_LOCAL_SYSTEM_RID);
  return sid;
}

enum class TDacl { Open, DenyEveryone, Empty };

// Applies the DACL to the key alone; an ACL of a fixed size is enough for three entries.
bool SetDacl(HKEY key, TDacl kind) {
  alignas(DWORD) BYTE buffer[512];
  const auto acl = reinterpret_cast<PACL>(buffer);
  if (!InitializeAcl(acl, sizeof(buffer), ACL_REVISION)) return false;
  const DWORD inherit = CONTAINER_INHERIT_ACE;
  switch (kind) {
    case TDacl::Open:
      if (!AddAccessAllowedAceEx(acl, ACL_REVISION, inherit, KEY_ALL_ACCESS, Administrators().Get()) ||
          !AddAccessAllowedAceEx(acl, ACL_REVISION, inherit, KEY_ALL_ACCESS, LocalSystem().Get()) ||
          !AddAccessAllowedAceEx(acl, ACL_REVISION, inherit, KEY_READ, Everyone().Get()))
        return false;
      break;
    case TDacl::DenyEveryone:
      if (!AddAccessDeniedAceEx(acl, ACL_REVISION, 0, KEY_ALL_ACCESS, Everyone().Get()) ||
          !AddAccessAllowedAceEx(acl, ACL_REVISION, 0, KEY_ALL_ACCESS, Administrators().Get()))
        return false;
      break;
    case TDacl::Empty:
      break;
  }
  SECURITY_DESCRIPTOR descriptor;
  return InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) &&
         SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE) &&
         RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor) == ERROR_SUCCESS;
}

void EnableTakeOwnership() {
  HANDLE raw = nullptr;
  if (OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &raw))
    SetPrivilege(THandle(raw).Get(), "SeTakeOwnershipPrivilege", true);
}

// Takes the key tree back whatever its DACL says: the administrators become its owner, and
// an owner may always rewrite the DACL.
void OpenUpTree(const std::string& path) {
  EnableTakeOwnership();
  if (const TRegKey key = OpenRegKey(HKEY_LOCAL_MACHINE, path, WRITE_OWNER)) {
    SECURITY_DESCRIPTOR owner;
    InitializeSecurityDescriptor(&owner, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorOwner(&owner, Administrators().Get(), FALSE);
    RegSetKeySecurity(key.Get(), OWNER_SECURITY_INFORMATION, &owner);
  }
  if (const TRegKey key = OpenRegKey(HKEY_LOCAL_MACHINE, path, WRITE_DAC))
    SetDacl(key.Get(), TDacl::Open);
  if (const TRegKey key = OpenRegKey(HKEY_LOCAL_MACHINE, path, KEY_READ))
    for (const std::string& sub : RegSubKeyNames(key.Get())) OpenUpTree(path + "\\" + sub);
}

void BreakCalais(TDacl kind) {
  const TRegKey key = OpenRegKey(HKEY_LOCAL_MACHINE, kCalais, WRITE_DAC);
  ASSERT_TRUE(key);
  ASSERT_TRUE(SetDacl(key.Get(), kind));
}

void HealthyCalais() {
  OpenUpTree(kCalais);
  for (const char* sub : kCalaisSubKeys)
    ASSERT_TRUE(CreateRegKey(HKEY_LOCAL_MACHINE, std::string(kCalais) + "\\" + sub, KEY_READ))
        << sub;
  const TRegKey readers = OpenRegKey(HKEY_LOCAL_MACHINE, kReaders, KEY_READ);
  for (const std::string& name : RegSubKeyNames(readers.Get())) RemoveReader(name);
}

void RemoveSCardDrv() {
  if (const TScmHandle driver = Service(L"SCardDrv")) {
    SERVICE_STATUS status{};
    ControlService(driver.Get(), SERVICE_CONTROL_STOP, &status);
    DeleteService(driver.Get());
  }
  DeleteRegKeyTree(HKEY_LOCAL_MACHINE, kDriverKey);
}

void AddSCardDrv() {
  const TScmHandle manager = Manager();
  const std::wstring image = SystemFolder() + L"SCardSvr.exe";
  const TScmHandle driver(CreateServiceW(manager.Get(), L"SCardDrv", L"Smart Card Helper",
                                         SERVICE_ALL_ACCESS, SERVICE_WIN32_SHARE_PROCESS,
                                         SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL,
                                         L"%SystemRoot%\\system32\\SCardSvr.exe", nullptr,
                                         nullptr, nullptr, L"LocalSystem", nullptr));
  ASSERT_TRUE(driver) << "error " << GetLastError();
}

void RemoveService() {
  ASSERT_TRUE(StopSCardSvr());
  if (const TScmHandle service = Service(L"SCardSvr")) {
    ASSERT_TRUE(DeleteService(service.Get())) << "error " << GetLastError();
  }
  // The manager removes a deleted service once its last handle is closed.
  ASSERT_TRUE(WaitUntil([] { return !Service(L"SCardSvr", SERVICE_QUERY_STATUS); }, kWaitMs));
  DeleteRegKeyTree(HKEY_LOCAL_MACHINE, kServiceKey);
}

template <typename F>
void ForEachProcess(F visit) {
  const THandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (snapshot.Get() == INVALID_HANDLE_VALUE) return;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
       more = Process32NextW(snapshot.Get(), &entry))
    visit(entry);
}

std::wstring ProcessName(DWORD id) {
  std::wstring name;
  ForEachProcess([&](const PROCESSENTRY32W& entry) {
    if (entry.th32ProcessID == id) name = entry.szExeFile;
  });
  return name;
}

}  // namespace

void MakeSubsystemHealthy() {
  DeleteRegKeyTree(HKEY_LOCAL_MACHINE, "Software\\CardmendTest");
  HealthyCalais();
  RemoveSCardDrv();
  // Wine starts the 32-bit image only for a service a 32-bit program created (WOW64 = 1).
  if (OpenRegKey(HKEY_LOCAL_MACHINE, kServiceKey, KEY_READ) && RegNumber(kServiceKey, L"WOW64") != 1) {
    RemoveService();
    if (testing::Test::HasFatalFailure()) return;
  }
  // A service started from another image keeps running from it until it stops.
  const std::optional<TManagerView> view = SCardSvrAsManagerSeesIt();
  if (view && !view->Process.empty() && lstrcmpiW(view->Process.c_str(), L"SCardSvr.exe") != 0) {
    ASSERT_TRUE(StopSCardSvr());
  }
  const DWORD registered = RegisterSCardSvr(HealthyConfig());
  ASSERT_EQ(registered, static_cast<DWORD>(ERROR_SUCCESS)) << "SCardSvr could not be registered";
  KeepOnlyHealthyValues();
  ASSERT_EQ(StartSCardSvr(), static_cast<DWORD>(ERROR_SUCCESS)) << "SCardSvr did not start";
}

void SetSubsystemState(TSubsystemState state) {
  MakeSubsystemHealthy();
  if (testing::Test::HasFatalFailure()) return;
  switch (state) {
    case TSubsystemState::Healthy:
      break;
    case TSubsystemState::ServiceStopped:
      ASSERT_TRUE(StopSCardSvr());
      break;
    case TSubsystemState::StartManual:
      ASSERT_TRUE(StopSCardSvr());
      Reconfigure(SERVICE_DEMAND_START, nullptr, nullptr);
      break;
    case TSubsystemState::StartDisabled:
      ASSERT_TRUE(StopSCardSvr());
      Reconfigure(SERVICE_DISABLED, nullptr, nullptr);
      break;
    case TSubsystemState::ObjectNameWrong:
      Reconfigure(SERVICE_NO_CHANGE, nullptr, L"LocalSystem");
      break;
    case TSubsystemState::ObjectNameMissing:
      DeleteValue(kServiceKey, L"ObjectName");
      break;
    case TSubsystemState::GroupMissing:
      Reconfigure(SERVICE_NO_CHANGE, L"", nullptr);
      DeleteValue(kServiceKey, L"Group");
      break;
    case TSubsystemState::CalaisDenied:
      BreakCalais(TDacl::DenyEveryone);
      break;
    case TSubsystemState::CalaisNoAccess:
      BreakCalais(TDacl::Empty);
      break;
    case TSubsystemState::CurrentMissing:
    case TSubsystemState::ReadersMissing:
    case TSubsystemState::SmartCardsMissing: {
      const char* sub = state == TSubsystemState::CurrentMissing   ? "Current"
                        : state == TSubsystemState::ReadersMissing ? "Readers"
                                                                   : "SmartCards";
      ASSERT_EQ(DeleteRegKeyTree(HKEY_LOCAL_MACHINE, std::string(kCalais) + "\\" + sub),
                ERROR_SUCCESS);
      break;
    }
    case TSubsystemState::ServiceMissing:
      RemoveService();
      break;
    case TSubsystemState::SCardDrvPresent:
      AddSCardDrv();
      break;
    case TSubsystemState::SvchostForm:
      ASSERT_TRUE(StopSCardSvr());
      Reconfigure(SERVICE_NO_CHANGE, nullptr, nullptr, kSvchostImage);
      ASSERT_EQ(StartSCardSvr(), static_cast<DWORD>(ERROR_SUCCESS)) << "svchost did not host it";
      break;
  }
}

TSubsystemScope::TSubsystemScope(TSubsystemState state) { SetSubsystemState(state); }

TSubsystemScope::~TSubsystemScope() { MakeSubsystemHealthy(); }

void SimulateRestart() {
  StopSCardSvr();
  DWORD manager = 0;
  ForEachProcess([&](const PROCESSENTRY32W& entry) {
    if (lstrcmpiW(entry.szExeFile, L"services.exe") == 0) manager = entry.th32ProcessID;
  });
  ASSERT_NE(manager, 0u) << "no services.exe in the prefix";
  {
    const THandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, manager));
    ASSERT_TRUE(process);
    ASSERT_TRUE(TerminateProcess(process.Get(), 1));
    ASSERT_EQ(WaitForSingleObject(process.Get(), kWaitMs), WAIT_OBJECT_0);
  }
  // Now and then the first wineboot ends without bringing the manager up; a second one does.
  const auto back = [] {
    return WaitUntil([] { return static_cast<bool>(Manager(SC_MANAGER_CONNECT)); }, kWaitMs);
  };
  StartWineboot();
  if (!back()) StartWineboot();
  ASSERT_TRUE(back()) << "the service manager did not come back";
  // The manager starts the auto-start services after it answers.
  const std::optional<TManagerView> view = SCardSvrAsManagerSeesIt();
  if (view && view->Start == SERVICE_AUTO_START)
    WaitUntil([] { return SCardSvrRunning(); }, kWaitMs);
}

DWORD StartSCardSvr() {
  const TScmHandle service = Service(L"SCardSvr");
  if (!service) return GetLastError();
  if (CurrentState(service) == SERVICE_RUNNING) return ERROR_SUCCESS;
  if (!StartServiceW(service.Get(), 0, nullptr)) {
    const DWORD error = GetLastError();
    if (error != ERROR_SERVICE_ALREADY_RUNNING) return error;
  }
  return WaitForState(service, SERVICE_RUNNING) ? ERROR_SUCCESS : ERROR_SERVICE_REQUEST_TIMEOUT;
}

bool StopSCardSvr() {
  const TScmHandle service = Service(L"SCardSvr");
  if (!service || CurrentState(service) == SERVICE_STOPPED) return true;
  SERVICE_STATUS status{};
  ControlService(service.Get(), SERVICE_CONTROL_STOP, &status);
  return WaitForState(service, SERVICE_STOPPED);
}

bool SCardSvrRunning() {
  const TScmHandle service = Service(L"SCardSvr", SERVICE_QUERY_STATUS);
  return service && CurrentState(service) == SERVICE_RUNNING;
}

std::optional<TManagerView> SCardSvrAsManagerSeesIt() {
  const TScmHandle service = Service(L"SCardSvr", SERVICE_QUERY_STATUS | SERVICE_QUERY_CONFIG);
  if (!service) return std::nullopt;
  DWORD needed = 0;
  QueryServiceConfigW(service.Get(), nullptr, 0, &needed);
  std::vector<BYTE> buffer(needed);
  const auto config = reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer.data());
  if (needed == 0 || !QueryServiceConfigW(service.Get(), config, needed, &needed))
    return std::nullopt;
  TManagerView view;
  view.State = CurrentState(service);
  view.Type = config->dwServiceType;
  view.Start = config->dwStartType;
  view.Account = config->lpServiceStartName ? config->lpServiceStartName : L"";
  view.Group = config->lpLoadOrderGroup ? config->lpLoadOrderGroup : L"";
  SERVICE_STATUS_PROCESS status{};
  if (QueryServiceStatusEx(service.Get(), SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status),
                           sizeof(status), &needed) &&
      status.dwProcessId != 0)
    view.Process = ProcessName(status.dwProcessId);
  return view;
}

DWORD RunNet(const std::wstring& arguments) {
  return RunAndWait(SystemFolder() + L"net.exe", arguments);
}

DWORD RunSCardSvrDouble(const std::wstring& arguments) {
  return RunAndWait(SystemFolder() + L"SCardSvr.exe", arguments);
}

void AddReader(const std::string& name) {
  ASSERT_TRUE(CreateRegKey(HKEY_LOCAL_MACHINE, std::string(kReaders) + "\\" + name, KEY_READ));
}

void RemoveReader(const std::string& name) {
  DeleteRegKeyTree(HKEY_LOCAL_MACHINE, std::string(kReaders) + "\\" + name);
}

void SetWinSCardFault(TWinSCardCall call, LONG code) {
  const wchar_t* name = call == TWinSCardCall::EstablishUser     ? L"EstablishUser"
                        : call == TWinSCardCall::EstablishSystem ? L"EstablishSystem"
                                                                 : L"ListReaders";
  const TRegKey key = CreateRegKey(HKEY_LOCAL_MACHINE, kKnobs, KEY_SET_VALUE);
  ASSERT_TRUE(key);
  if (code == 0) {
    RegDeleteValueW(key.Get(), name);
    return;
  }
  const DWORD value = static_cast<DWORD>(code);
  RegSetValueExW(key.Get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                 sizeof(value));
}

std::string SubsystemExport() {
  return ExportKeys({"SYSTEM\\CurrentControlSet\\Services\\SCardSvr",
                     "SYSTEM\\CurrentControlSet\\Services\\SCardDrv",
                     "Software\\Microsoft\\Cryptography\\Calais"});
}

const char* SubsystemStateName(TSubsystemState state) {
  switch (state) {
    case TSubsystemState::Healthy: return "healthy";
    case TSubsystemState::ServiceStopped: return "stopped";
    case TSubsystemState::StartManual: return "manual";
    case TSubsystemState::StartDisabled: return "disabled";
    case TSubsystemState::ObjectNameWrong: return "account wrong";
    case TSubsystemState::ObjectNameMissing: return "account missing";
    case TSubsystemState::GroupMissing: return "group missing";
    case TSubsystemState::CalaisDenied: return "Calais denied";
    case TSubsystemState::CalaisNoAccess: return "Calais without access";
    case TSubsystemState::CurrentMissing: return "Current missing";
    case TSubsystemState::ReadersMissing: return "Readers missing";
    case TSubsystemState::SmartCardsMissing: return "SmartCards missing";
    case TSubsystemState::ServiceMissing: return "service missing";
    case TSubsystemState::SCardDrvPresent: return "SCardDrv present";
    case TSubsystemState::SvchostForm: return "svchost form";
  }
  return "other";
}
