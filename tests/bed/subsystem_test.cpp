#include "tests/bed/scsubsystem.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <vector>

#include "app/repair/readerpresence.h"
#include "sysutil/registryaccess.h"
#include "tests/bed/testbed.h"
#include "tests/doubles/scardsvr/registration.h"

namespace {

const char ServicePath[] = "SYSTEM\\CurrentControlSet\\Services\\SCardSvr";
const char CalaisPath[] = "Software\\Microsoft\\Cryptography\\Calais";
const wchar_t LocalServiceAccount[] = L"NT AUTHORITY\\LocalService";

std::wstring RegText(const char* key, const wchar_t* name) {
  const TRegKey open = OpenRegKey(HKEY_LOCAL_MACHINE, key, KEY_QUERY_VALUE);
  wchar_t value[256] = L"";
  DWORD size = sizeof(value) - sizeof(wchar_t), type = 0;
  if (!open || RegQueryValueExW(open.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(value),
                                &size) != ERROR_SUCCESS)
    return L"<none>";
  if (type != REG_DWORD) return value;
  DWORD number = 0;
  CopyMemory(&number, value, sizeof(number));
  return std::to_wstring(number);
}

void SetRegDword(const char* key, const wchar_t* name, DWORD value) {
  const TRegKey open = OpenRegKey(HKEY_LOCAL_MACHINE, key, KEY_SET_VALUE);
  ASSERT_TRUE(open);
  ASSERT_EQ(RegSetValueExW(open.Get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                           sizeof(value)),
            ERROR_SUCCESS);
}

bool KeyOpens(const std::string& path, REGSAM access = KEY_READ) {
  return static_cast<bool>(OpenRegKey(HKEY_LOCAL_MACHINE, path, access));
}

// Everything a state is made of, as the program and the manager can see it.
struct TObserved {
  bool Running = true;
  bool KnownToManager = true;
  std::wstring Process = L"SCardSvr.exe";
  DWORD ManagerStart = SERVICE_AUTO_START;
  std::wstring ManagerAccount = LocalServiceAccount;
  std::wstring ManagerGroup = L"SmartCardGroup";
  bool ServiceKey = true;
  std::wstring Start = L"2";
  std::wstring Type = L"32";
  std::wstring ImagePath = L"%SystemRoot%\\system32\\SCardSvr.exe";
  std::wstring ObjectName = LocalServiceAccount;
  std::wstring Group = L"SmartCardGroup";
  std::wstring ServiceSidType = L"1";
  std::wstring DependOnService = L"PlugPlay";
  bool CalaisReadable = true;
  bool CalaisFullAccess = true;
  bool Current = true, Readers = true, SmartCards = true;
  bool SCardDrvKey = false;
  bool SCardDrvKnown = false;
  bool ReaderDevice = false;
  DWORD DeviceEnumStart = SERVICE_DEMAND_START, CertPropStart = SERVICE_DEMAND_START;

  bool operator==(const TObserved&) const = default;
};

void PrintTo(const TObserved& o, std::ostream* out) {
  auto text = [](const std::wstring& w) { return std::string(w.begin(), w.end()); };
  *out << "running " << o.Running << " in " << text(o.Process) << ", known " << o.KnownToManager << " (start "
       << o.ManagerStart << ", account " << text(o.ManagerAccount) << ", group "
       << text(o.ManagerGroup) << "), key " << o.ServiceKey << " (Start " << text(o.Start)
       << ", Type " << text(o.Type) << ", ImagePath " << text(o.ImagePath) << ", ObjectName " << text(o.ObjectName) << ", Group "
       << text(o.Group) << ", ServiceSidType " << text(o.ServiceSidType) << ", DependOnService "
       << text(o.DependOnService) << "), Calais read "
       << o.CalaisReadable << " full " << o.CalaisFullAccess << ", Current " << o.Current
       << " Readers " << o.Readers << " SmartCards " << o.SmartCards << ", SCardDrv key "
       << o.SCardDrvKey << " known " << o.SCardDrvKnown << ", reader device " << o.ReaderDevice
       << ", ScDeviceEnum start " << o.DeviceEnumStart << ", CertPropSvc start " << o.CertPropStart;
}

DWORD ManagerStart(SC_HANDLE manager, const wchar_t* name) {
  const TScmHandle service(OpenServiceW(manager, name, SERVICE_QUERY_CONFIG));
  DWORD needed = 0;
  QueryServiceConfigW(service.Get(), nullptr, 0, &needed);
  std::vector<BYTE> buffer(needed);
  const auto config = reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer.data());
  if (!service || needed == 0 || !QueryServiceConfigW(service.Get(), config, needed, &needed))
    return 0;
  return config->dwStartType;
}

TObserved Observe() {
  TObserved o;
  o.Running = SCardSvrRunning();
  const std::optional<TManagerView> view = SCardSvrAsManagerSeesIt();
  o.KnownToManager = view.has_value();
  o.Process = view ? view->Process : L"";
  o.ManagerStart = view ? view->Start : 0;
  o.ManagerAccount = view ? view->Account : L"";
  o.ManagerGroup = view ? view->Group : L"";
  o.ServiceKey = KeyOpens(ServicePath);
  o.Start = RegText(ServicePath, L"Start");
  o.Type = RegText(ServicePath, L"Type");
  o.ImagePath = RegText(ServicePath, L"ImagePath");
  o.ObjectName = RegText(ServicePath, L"ObjectName");
  o.Group = RegText(ServicePath, L"Group");
  o.ServiceSidType = RegText(ServicePath, L"ServiceSidType");
  o.DependOnService = RegText(ServicePath, L"DependOnService");
  o.CalaisReadable = KeyOpens(CalaisPath);
  o.CalaisFullAccess = KeyOpens(CalaisPath, KEY_ALL_ACCESS);
  o.Current = KeyOpens(std::string(CalaisPath) + "\\Current");
  o.Readers = KeyOpens(std::string(CalaisPath) + "\\Readers");
  o.SmartCards = KeyOpens(std::string(CalaisPath) + "\\SmartCards");
  o.SCardDrvKey = KeyOpens("SYSTEM\\CurrentControlSet\\Services\\SCardDrv");
  const TScmHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
  o.SCardDrvKnown =
      static_cast<bool>(TScmHandle(OpenServiceW(manager.Get(), L"SCardDrv", SERVICE_QUERY_STATUS)));
  o.ReaderDevice = ReaderAttached() == true;
  o.DeviceEnumStart = ManagerStart(manager.Get(), L"ScDeviceEnum");
  o.CertPropStart = ManagerStart(manager.Get(), L"CertPropSvc");
  return o;
}

struct TStateCase {
  const char* Label;
  TSubsystemState State;
  std::function<void(TObserved&)> Change;  // from the healthy observation
};
void PrintTo(const TStateCase& c, std::ostream* out) { *out << c.Label; }

const TStateCase States[] = {
    {"Healthy", TSubsystemState::Healthy, [](TObserved&) {}},
    {"ServiceStopped", TSubsystemState::ServiceStopped, [](TObserved& o) { o.Running = false, o.Process = L""; }},
    {"StartManual", TSubsystemState::StartManual,
     [](TObserved& o) { o.Running = false, o.Process = L"", o.ManagerStart = 3, o.Start = L"3"; }},
    {"StartDisabled", TSubsystemState::StartDisabled,
     [](TObserved& o) { o.Running = false, o.Process = L"", o.ManagerStart = 4, o.Start = L"4"; }},
    {"ObjectNameWrong", TSubsystemState::ObjectNameWrong,
     [](TObserved& o) { o.ManagerAccount = o.ObjectName = L"LocalSystem"; }},
    {"ObjectNameMissing", TSubsystemState::ObjectNameMissing,
     [](TObserved& o) { o.ObjectName = L"<none>"; }},
    {"GroupMissing", TSubsystemState::GroupMissing,
     [](TObserved& o) { o.ManagerGroup = L"", o.Group = L"<none>"; }},
    {"CalaisDenied", TSubsystemState::CalaisDenied,
     [](TObserved& o) { o.CalaisReadable = o.CalaisFullAccess = false; }},
    {"CalaisNoAccess", TSubsystemState::CalaisNoAccess,
     [](TObserved& o) { o.CalaisReadable = o.CalaisFullAccess = false; }},
    {"CurrentMissing", TSubsystemState::CurrentMissing, [](TObserved& o) { o.Current = false; }},
    {"ReadersMissing", TSubsystemState::ReadersMissing, [](TObserved& o) { o.Readers = false; }},
    {"SmartCardsMissing", TSubsystemState::SmartCardsMissing,
     [](TObserved& o) { o.SmartCards = false; }},
    {"ServiceMissing", TSubsystemState::ServiceMissing,
     [](TObserved& o) {
       o = TObserved{};
       o.Running = o.KnownToManager = o.ServiceKey = false;
       o.Process = L"";
       o.ManagerStart = 0, o.ManagerAccount = o.ManagerGroup = L"";
       o.Start = o.Type = o.ImagePath = o.ObjectName = o.Group = o.ServiceSidType = o.DependOnService = L"<none>";
     }},
    {"SCardDrvPresent", TSubsystemState::SCardDrvPresent,
     [](TObserved& o) { o.SCardDrvKey = o.SCardDrvKnown = true; }},
    {"SvchostForm", TSubsystemState::SvchostForm,
     [](TObserved& o) {
       o.ImagePath = L"%SystemRoot%\\system32\\svchost.exe -k LocalService";
       o.Process = L"svchost.exe";
     }},
    {"WindowsDefault", TSubsystemState::WindowsDefault,
     [](TObserved& o) {
       o.ImagePath = L"%SystemRoot%\\system32\\svchost.exe -k LocalServiceAndNoImpersonation";
       o.Running = false, o.Process = L"", o.ManagerStart = 3, o.Start = L"3";
     }},
    {"ReaderAttached", TSubsystemState::ReaderAttached, [](TObserved& o) { o.ReaderDevice = true; }},
    {"DeviceEnumDisabled", TSubsystemState::DeviceEnumDisabled,
     [](TObserved& o) { o.DeviceEnumStart = SERVICE_DISABLED; }},
};

class SubsystemStates : public testing::TestWithParam<TStateCase> {};

TEST_P(SubsystemStates, ProduceTheirStateAndHealthyUndoesIt) {
  {
    const TSubsystemScope scope(GetParam().State);
    ASSERT_FALSE(HasFatalFailure());
    TObserved expected;
    GetParam().Change(expected);
    EXPECT_EQ(Observe(), expected);
  }
  EXPECT_EQ(Observe(), TObserved{});
}

INSTANTIATE_TEST_SUITE_P(All, SubsystemStates, testing::ValuesIn(States),
                         [](const auto& param) { return std::string(param.param.Label); });

TEST(SCardSvrDouble, StartsThroughNetStartAndStopsThroughTheLibrary) {
  const TSubsystemScope scope(TSubsystemState::ServiceStopped);
  ASSERT_FALSE(SCardSvrRunning());
  EXPECT_EQ(RunNet(L"start ScardSvr"), 0u);
  EXPECT_TRUE(SCardSvrRunning());
  EXPECT_TRUE(StopSCardSvr());
  EXPECT_FALSE(SCardSvrRunning());
}

// Started as Windows 7 and later start it, by the svchost group of Windows' own image path.
TEST(SCardSvrDouble, WindowsDefaultStartsInItsSvchostGroup) {
  const TSubsystemScope scope(TSubsystemState::WindowsDefault);
  EXPECT_EQ(RunNet(L"start ScardSvr"), 0u);
  EXPECT_TRUE(SCardSvrRunning());
  EXPECT_EQ(SCardSvrAsManagerSeesIt()->Process, L"svchost.exe");
}

TEST(SCardSvrDouble, DisabledDoesNotStart) {
  const TSubsystemScope scope(TSubsystemState::StartDisabled);
  EXPECT_NE(RunNet(L"start ScardSvr"), 0u);
  EXPECT_EQ(StartSCardSvr(), static_cast<DWORD>(ERROR_SERVICE_DISABLED));
  EXPECT_FALSE(SCardSvrRunning());
}

TEST(SCardSvrDouble, ManagerSeesARegistryChangeOnlyAfterARestart) {
  const TSubsystemScope scope(TSubsystemState::ServiceStopped);
  SetRegDword(ServicePath, L"Start", SERVICE_DISABLED);
  EXPECT_EQ(SCardSvrAsManagerSeesIt()->Start, static_cast<DWORD>(SERVICE_AUTO_START));
  EXPECT_EQ(RunNet(L"start ScardSvr"), 0u);
  ASSERT_TRUE(StopSCardSvr());

  SimulateRestart();
  EXPECT_EQ(SCardSvrAsManagerSeesIt()->Start, static_cast<DWORD>(SERVICE_DISABLED));
  EXPECT_NE(RunNet(L"start ScardSvr"), 0u);
  EXPECT_FALSE(SCardSvrRunning());

  // And back: an auto-start service runs after the restart without being asked.
  SetRegDword(ServicePath, L"Start", SERVICE_AUTO_START);
  SimulateRestart();
  EXPECT_TRUE(SCardSvrRunning());
}

TEST(SCardSvrDouble, ReinstallRegistersAMissingServiceAsHealthy) {
  const TSubsystemScope scope(TSubsystemState::ServiceMissing);
  ASSERT_FALSE(SCardSvrAsManagerSeesIt());
  EXPECT_EQ(RunSCardSvrDouble(L"reinstall"), 0u);
  EXPECT_EQ(RunNet(L"start ScardSvr"), 0u);
  EXPECT_EQ(Observe(), TObserved{});
}

TEST(SCardSvrDouble, ReinstallWritesTheKeyAgainWhenOnlyTheManagerKnowsTheService) {
  const TSubsystemScope scope;
  ASSERT_EQ(DeleteRegKeyTree(HKEY_LOCAL_MACHINE, ServicePath), ERROR_SUCCESS);
  EXPECT_EQ(RunSCardSvrDouble(L"reinstall"), 0u);
  EXPECT_EQ(Observe(), TObserved{});
}

TEST(SCardSvrDouble, ReinstallLeavesAnExistingServiceAlone) {
  const TSubsystemScope scope(TSubsystemState::StartManual);
  EXPECT_EQ(RunSCardSvrDouble(L"reinstall"), 0u);
  EXPECT_EQ(SCardSvrAsManagerSeesIt()->Start, static_cast<DWORD>(SERVICE_DEMAND_START));
  EXPECT_EQ(RegText(ServicePath, L"Start"), L"3");
}

}  // namespace

namespace {

// What Wine's manager makes of the configuration the repair writes: it starts the program
// as either type and under any account name, so only the registry shows these wrong.
struct TAccountCase {
  const char* Label;
  DWORD Type;
  const wchar_t* Account;
};
void PrintTo(const TAccountCase& c, std::ostream* out) { *out << c.Label; }

const TAccountCase Accounts[] = {
    {"SharedLocalService", SERVICE_WIN32_SHARE_PROCESS, LocalServiceAccount},
    {"OwnLocalService", SERVICE_WIN32_OWN_PROCESS, LocalServiceAccount},
    {"SharedLocalSystem", SERVICE_WIN32_SHARE_PROCESS, L"LocalSystem"},
    {"OwnNetworkService", SERVICE_WIN32_OWN_PROCESS, L"NT AUTHORITY\\NetworkService"},
    {"SharedUnknownAccount", SERVICE_WIN32_SHARE_PROCESS, L".\\NoSuchUser"},
};

class WineManager : public testing::TestWithParam<TAccountCase> {};

TEST_P(WineManager, StartsTheServiceWhateverItsTypeAndAccount) {
  const TSubsystemScope scope(TSubsystemState::ServiceStopped);
  const TScmHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
  const TScmHandle service(OpenServiceW(manager.Get(), L"SCardSvr", SERVICE_CHANGE_CONFIG));
  ASSERT_TRUE(ChangeServiceConfigW(service.Get(), GetParam().Type, SERVICE_NO_CHANGE,
                                   SERVICE_NO_CHANGE, nullptr, nullptr, nullptr, L"PlugPlay\0",
                                   GetParam().Account, L"", nullptr))
      << "error " << GetLastError();
  EXPECT_EQ(RunNet(L"start ScardSvr"), 0u);
  EXPECT_TRUE(SCardSvrRunning());
}

INSTANTIATE_TEST_SUITE_P(All, WineManager, testing::ValuesIn(Accounts),
                         [](const auto& param) { return std::string(param.param.Label); });

TEST(SCardSvrDouble, RestartKeepsKeySecurityBecauseTheWineserverStays) {
  const TSubsystemScope scope(TSubsystemState::CalaisDenied);
  SimulateRestart();
  EXPECT_FALSE(KeyOpens(CalaisPath));
  EXPECT_TRUE(SCardSvrRunning());
}

}  // namespace

namespace {

bool Is64BitProcess(DWORD id) {
  const THandle process(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, id));
  BOOL wow64 = TRUE;
  return process && IsWow64Process(process.Get(), &wow64) && !wow64;
}

DWORD SCardSvrProcessId() {
  const TScmHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
  const TScmHandle service(OpenServiceW(manager.Get(), L"SCardSvr", SERVICE_QUERY_STATUS));
  SERVICE_STATUS_PROCESS status{};
  DWORD needed = 0;
  if (!QueryServiceStatusEx(service.Get(), SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status),
                            sizeof(status), &needed))
    return 0;
  return status.dwProcessId;
}

// Registered by a 32-bit program, the service runs in the 32-bit svchost (Wine notes WOW64 =
// 1 for it); registered by a 64-bit one, as by Windows' own setup, in the 64-bit svchost. The
// test bed registers it with the tests' own bitness; in the 32-bit flavor the note taken away
// shows the 64-bit case too.
TEST(SCardSvrDouble, SvchostFormRunsInTheSvchostOfTheRegisteringProgram) {
  std::vector<bool> cases{!In32BitFlavor};
  if (In32BitFlavor) cases.push_back(true);
  for (const bool registeredBy64Bit : cases) {
    SCOPED_TRACE(registeredBy64Bit ? "64-bit" : "32-bit");
    const TSubsystemScope scope(TSubsystemState::SvchostForm);
    if (registeredBy64Bit && In32BitFlavor) {
      ASSERT_TRUE(StopSCardSvr());
      const TRegKey key = OpenRegKey(HKEY_LOCAL_MACHINE, ServicePath, KEY_SET_VALUE);
      ASSERT_EQ(RegDeleteValueW(key.Get(), L"WOW64"), ERROR_SUCCESS);
      SimulateRestart();
    }
    ASSERT_TRUE(SCardSvrRunning());
    EXPECT_EQ(SCardSvrAsManagerSeesIt()->Process, L"svchost.exe");
    EXPECT_EQ(Is64BitProcess(SCardSvrProcessId()), registeredBy64Bit);
  }
  EXPECT_EQ(RegText(ServicePath, L"WOW64"), In32BitFlavor ? L"1" : L"<none>");
}

}  // namespace
