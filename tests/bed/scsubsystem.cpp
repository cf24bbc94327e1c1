#include "tests/bed/scsubsystem.h"

#include <gtest/gtest.h>
#include <setupapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <vector>

#include "app/repair/readerpresence.h"
#include "sysutil/registryaccess.h"
#include "sysutil/textconv.h"
#include "tests/bed/keysecurity.h"
#include "tests/bed/programs.h"
#include "tests/bed/registryexport.h"
#include "tests/bed/testbed.h"
#include "tests/doubles/scardsvr/registration.h"

namespace {

const char ServicePath[] = "SYSTEM\\CurrentControlSet\\Services\\SCardSvr";
const char DriverKey[] = "SYSTEM\\CurrentControlSet\\Services\\SCardDrv";
const char CalaisPath[] = "Software\\Microsoft\\Cryptography\\Calais";
const char ReadersPath[] = "Software\\Microsoft\\Cryptography\\Calais\\Readers";
const char* const CalaisSubKeys[] = {"Current", "Readers", "SmartCards"};
const char Knobs[] = "Software\\CardmendTest\\WinSCard";
constexpr DWORD WaitMs = 15000;
const wchar_t SvchostImage[] = L"%SystemRoot%\\system32\\svchost.exe -k LocalService";
const wchar_t DefaultImage[] =
    L"%SystemRoot%\\system32\\svchost.exe -k LocalServiceAndNoImpersonation";

// The companions of Windows 8 and later as Windows installs them; never started here.
struct TCompanion {
  const wchar_t* Name;
  const wchar_t* DisplayName;
  const wchar_t* Image;
};
const TCompanion Companions[] = {
    {L"ScDeviceEnum", L"Smart Card Device Enumeration Service",
     L"%SystemRoot%\\system32\\svchost.exe -k LocalSystemNetworkRestricted"},
    {L"CertPropSvc", L"Certificate Propagation", L"%SystemRoot%\\system32\\svchost.exe -k netsvcs"},
};

// The values the healthy key holds; Wine's manager adds the last two itself.
const wchar_t* const HealthyValues[] = {L"Type",        L"Start",          L"ErrorControl",
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
  return WaitUntil([&] { return CurrentState(service) == state; }, WaitMs);
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
  ASSERT_TRUE(CreateTestProcess(nullptr, commandLine.data(), FALSE, DETACHED_PROCESS, &si, &pi))
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
  const TRegKey key = OpenRegKey(HKEY_LOCAL_MACHINE, ServicePath, KEY_READ | KEY_SET_VALUE);
  ASSERT_TRUE(key);
  std::vector<std::wstring> extra;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD length = 256;
    if (RegEnumValueW(key.Get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    const std::wstring value(name, length);
    if (std::none_of(std::begin(HealthyValues), std::end(HealthyValues),
                     [&](const wchar_t* healthy) { return lstrcmpiW(healthy, value.c_str()) == 0; }))
      extra.push_back(value);
  }
  for (const std::wstring& name : extra) RegDeleteValueW(key.Get(), name.c_str());
}

const char* const Everyone = "S-1-1-0";
const char* const Administrators = "S-1-5-32-544";
const char* const LocalSystem = "S-1-5-18";

enum class TDacl { Open, DenyEveryone, Empty };

std::vector<TAce> DaclOf(TDacl kind) {
  const BYTE inherit = CONTAINER_INHERIT_ACE;
  switch (kind) {
    case TDacl::Open:
      return {{ACCESS_ALLOWED_ACE_TYPE, inherit, KEY_ALL_ACCESS, Administrators},
              {ACCESS_ALLOWED_ACE_TYPE, inherit, KEY_ALL_ACCESS, LocalSystem},
              {ACCESS_ALLOWED_ACE_TYPE, inherit, KEY_READ, Everyone}};
    case TDacl::DenyEveryone:
      return {{ACCESS_DENIED_ACE_TYPE, 0, KEY_ALL_ACCESS, Everyone},
              {ACCESS_ALLOWED_ACE_TYPE, 0, KEY_ALL_ACCESS, Administrators}};
    case TDacl::Empty:
      break;
  }
  return {};
}

void OpenUpKeys(const std::string& path) {
  WriteKeyOwner(path, Administrators);
  WriteKeySecurity(path, nullptr, DaclOf(TDacl::Open));
  if (const TRegKey key = OpenRegKey(HKEY_LOCAL_MACHINE, path, KEY_READ))
    for (const std::string& sub : RegSubKeyNames(key.Get())) OpenUpKeys(path + "\\" + sub);
}

// Takes the key tree back whatever its DACL says: the administrators become its owner, and
// an owner may always rewrite the DACL.
void OpenUpTree(const std::string& path) {
  const TPrivilegeScope takeOwnership("SeTakeOwnershipPrivilege");
  OpenUpKeys(path);
}

void BreakCalais(TDacl kind) { ASSERT_TRUE(WriteKeySecurity(CalaisPath, nullptr, DaclOf(kind))); }

void HealthyCalais() {
  OpenUpTree(CalaisPath);
  for (const char* sub : CalaisSubKeys)
    ASSERT_TRUE(CreateRegKey(HKEY_LOCAL_MACHINE, std::string(CalaisPath) + "\\" + sub, KEY_READ))
        << sub;
  const TRegKey readers = OpenRegKey(HKEY_LOCAL_MACHINE, ReadersPath, KEY_READ);
  for (const std::string& name : RegSubKeyNames(readers.Get())) RemoveReader(name);
}

void RemoveSCardDrv() {
  if (const TScmHandle driver = Service(L"SCardDrv")) {
    SERVICE_STATUS status{};
    ControlService(driver.Get(), SERVICE_CONTROL_STOP, &status);
    DeleteService(driver.Get());
  }
  DeleteRegKeyTree(HKEY_LOCAL_MACHINE, DriverKey);
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
  ASSERT_TRUE(WaitUntil([] { return !Service(L"SCardSvr", SERVICE_QUERY_STATUS); }, WaitMs));
  DeleteRegKeyTree(HKEY_LOCAL_MACHINE, ServicePath);
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

void SetStart(const wchar_t* name, DWORD start) {
  const TScmHandle service = Service(name);
  ASSERT_TRUE(service) << Narrow(name) << " is not registered";
  ASSERT_TRUE(ChangeServiceConfigW(service.Get(), SERVICE_NO_CHANGE, start, SERVICE_NO_CHANGE,
                                   nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr))
      << "error " << GetLastError();
}

void HealthyCompanions() {
  const TScmHandle manager = Manager();
  for (const TCompanion& companion : Companions) {
    if (Service(companion.Name, SERVICE_QUERY_STATUS)) {
      SetStart(companion.Name, SERVICE_DEMAND_START);
      continue;
    }
    const TScmHandle created(CreateServiceW(manager.Get(), companion.Name, companion.DisplayName,
                                            SERVICE_ALL_ACCESS, SERVICE_WIN32_SHARE_PROCESS,
                                            SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL,
                                            companion.Image, nullptr, nullptr, nullptr,
                                            L"LocalSystem", nullptr));
    ASSERT_TRUE(created) << Narrow(companion.Name) << ": error " << GetLastError();
  }
}

// One device a pass: whether removing a device also takes it out of the enumerated list
// is the setup library's business.
void DetachReaderDevices() {
  for (int pass = 0; pass < 8; ++pass) {
    const HDEVINFO devices = SetupDiGetClassDevsW(&SmartCardReaderClass, nullptr, nullptr, 0);
    if (devices == INVALID_HANDLE_VALUE) return;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof(device);
    const bool found = SetupDiEnumDeviceInfo(devices, 0, &device);
    if (found) SetupDiRemoveDevice(devices, &device);
    SetupDiDestroyDeviceInfoList(devices);
    if (!found) return;
  }
  ADD_FAILURE() << "reader devices stay after removal";
}

}  // namespace

void MakeSubsystemHealthy() {
  DeleteRegKeyTree(HKEY_LOCAL_MACHINE, "Software\\CardmendTest");
  HealthyCalais();
  RemoveSCardDrv();
  DetachReaderDevices();
  HealthyCompanions();
  if (testing::Test::HasFatalFailure()) return;
  // Wine starts the 32-bit image only for a service a 32-bit program created (WOW64 = 1).
  if (OpenRegKey(HKEY_LOCAL_MACHINE, ServicePath, KEY_READ) && RegNumber(ServicePath, L"WOW64") != 1) {
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

namespace {

void ChangeSubsystem(TSubsystemState state) {
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
      DeleteValue(ServicePath, L"ObjectName");
      break;
    case TSubsystemState::GroupMissing:
      Reconfigure(SERVICE_NO_CHANGE, L"", nullptr);
      DeleteValue(ServicePath, L"Group");
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
      ASSERT_EQ(DeleteRegKeyTree(HKEY_LOCAL_MACHINE, std::string(CalaisPath) + "\\" + sub),
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
      Reconfigure(SERVICE_NO_CHANGE, nullptr, nullptr, SvchostImage);
      ASSERT_EQ(StartSCardSvr(), static_cast<DWORD>(ERROR_SUCCESS)) << "svchost did not host it";
      break;
    case TSubsystemState::WindowsDefault:
      ASSERT_TRUE(StopSCardSvr());
      Reconfigure(SERVICE_DEMAND_START, nullptr, nullptr, DefaultImage);
      break;
    case TSubsystemState::ReaderAttached:
      AttachReaderDevice();
      break;
    case TSubsystemState::DeviceEnumDisabled:
      SetStart(L"ScDeviceEnum", SERVICE_DISABLED);
      break;
  }
}

}  // namespace

void SetSubsystemState(const std::vector<TSubsystemState>& states) {
  MakeSubsystemHealthy();
  for (const TSubsystemState state : states) {
    if (testing::Test::HasFatalFailure()) return;
    ChangeSubsystem(state);
  }
}

TSubsystemScope::TSubsystemScope(const std::vector<TSubsystemState>& states) {
  SetSubsystemState(states);
}

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
    ASSERT_EQ(WaitForSingleObject(process.Get(), WaitMs), WAIT_OBJECT_0);
  }
  // Now and then the first wineboot ends without bringing the manager up; a second one does.
  const auto back = [] {
    return WaitUntil([] { return static_cast<bool>(Manager(SC_MANAGER_CONNECT)); }, WaitMs);
  };
  StartWineboot();
  if (!back()) StartWineboot();
  ASSERT_TRUE(back()) << "the service manager did not come back";
  // The manager starts the auto-start services after it answers.
  const std::optional<TManagerView> view = SCardSvrAsManagerSeesIt();
  if (view && view->Start == SERVICE_AUTO_START)
    WaitUntil([] { return SCardSvrRunning(); }, WaitMs);
}

namespace {

DWORD StartOnce() {
  const TScmHandle service = Service(L"SCardSvr");
  if (!service) return GetLastError();
  if (CurrentState(service) == SERVICE_RUNNING) return ERROR_SUCCESS;
  if (!StartServiceW(service.Get(), 0, nullptr)) {
    const DWORD error = GetLastError();
    if (error != ERROR_SERVICE_ALREADY_RUNNING) return error;
  }
  return WaitForState(service, SERVICE_RUNNING) ? ERROR_SUCCESS : ERROR_SERVICE_REQUEST_TIMEOUT;
}

}  // namespace

// Now and then Wine's manager answers a start with an internal error: the service's new
// process died while Wine set it up (see CreateTestProcess); a second start after the
// service has settled as stopped works.
DWORD StartSCardSvr() {
  const DWORD error = StartOnce();
  if (error != ERROR_INTERNAL_ERROR && error != ERROR_SERVICE_REQUEST_TIMEOUT) return error;
  if (const TScmHandle service = Service(L"SCardSvr")) WaitForState(service, SERVICE_STOPPED);
  return StartOnce();
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

void AttachReaderDevice() {
  const HDEVINFO devices = SetupDiCreateDeviceInfoList(&SmartCardReaderClass, nullptr);
  ASSERT_NE(devices, INVALID_HANDLE_VALUE);
  SP_DEVINFO_DATA device{};
  device.cbSize = sizeof(device);
  const bool made =
      SetupDiCreateDeviceInfoW(devices, L"ROOT\\SMARTCARDREADER\\0000", &SmartCardReaderClass,
                               L"Test smart-card reader", nullptr, 0, &device) &&
      SetupDiRegisterDeviceInfo(devices, &device, 0, nullptr, nullptr, nullptr);
  const DWORD error = GetLastError();
  SetupDiDestroyDeviceInfoList(devices);
  ASSERT_TRUE(made) << "error " << error;
}

void AddReader(const std::string& name) {
  ASSERT_TRUE(CreateRegKey(HKEY_LOCAL_MACHINE, std::string(ReadersPath) + "\\" + name, KEY_READ));
}

void RemoveReader(const std::string& name) {
  DeleteRegKeyTree(HKEY_LOCAL_MACHINE, std::string(ReadersPath) + "\\" + name);
}

void SetWinSCardFault(TWinSCardCall call, LONG code) {
  const wchar_t* name = call == TWinSCardCall::EstablishUser     ? L"EstablishUser"
                        : call == TWinSCardCall::EstablishSystem ? L"EstablishSystem"
                                                                 : L"ListReaders";
  const TRegKey key = CreateRegKey(HKEY_LOCAL_MACHINE, Knobs, KEY_SET_VALUE);
  ASSERT_TRUE(key);
  if (code == 0) {
    RegDeleteValueW(key.Get(), name);
    return;
  }
  const DWORD value = static_cast<DWORD>(code);
  RegSetValueExW(key.Get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                 sizeof(value));
}

void SetWinSCardDelay(DWORD ms) {
  const TRegKey key = CreateRegKey(HKEY_LOCAL_MACHINE, Knobs, KEY_SET_VALUE);
  ASSERT_TRUE(key);
  if (ms == 0) {
    RegDeleteValueW(key.Get(), L"EstablishDelay");
    return;
  }
  RegSetValueExW(key.Get(), L"EstablishDelay", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&ms),
                 sizeof(ms));
}

std::string SubsystemExport() {
  return ExportKeys({"SYSTEM\\CurrentControlSet\\Services\\SCardSvr",
                     "SYSTEM\\CurrentControlSet\\Services\\SCardDrv",
                     "SYSTEM\\CurrentControlSet\\Services\\ScDeviceEnum",
                     "SYSTEM\\CurrentControlSet\\Services\\CertPropSvc",
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
    case TSubsystemState::WindowsDefault: return "Windows default";
    case TSubsystemState::ReaderAttached: return "reader attached";
    case TSubsystemState::DeviceEnumDisabled: return "ScDeviceEnum disabled";
  }
  return "other";
}
