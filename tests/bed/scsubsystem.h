#pragma once
// Puts the test prefix's smart-card subsystem into named states: the SCardSvr service (the
// test double from tests/doubles/scardsvr, registered with Wine's service manager), its
// companion SCardDrv, the Calais keys in the 64-bit view and the test WINSCARD.DLL's knobs.
//
// Every state starts from MakeSubsystemHealthy(), which undoes whatever a test left, so
// tests may run in any order; a test that changes the subsystem ends with it, best through
// a TSubsystemScope.
//
// Healthy, for the default prefix (Wine's 64-bit Windows 7 SP1, the Vista family whose image
// path the repair leaves alone): Type 32, Start 2, ErrorControl 1, ObjectName
// "NT AUTHORITY\LocalService", Group "SmartCardGroup", ServiceSidType 1, DependOnService
// PlugPlay (Wine has and runs that service), DisplayName "@%SystemRoot%\System32\SCardSvr.dll,-1"
// (what the repair writes), ImagePath
// "%SystemRoot%\system32\SCardSvr.exe"; the manager knows it and runs it; Calais with
// Current, Readers (no readers) and SmartCards, Administrators and SYSTEM full, Everyone
// read; no SCardDrv; no WINSCARD knob; no reader device; the companions of Windows 8 and
// later as Windows installs them (ScDeviceEnum and CertPropSvc known to the manager, start
// on demand, never started), which the program looks at only as 8 and later.
//
// What Wine's manager does differently, so the tests cannot show it:
// - It starts the service as Type 16 or 32 and under any ObjectName it is given, wrong or
//   unknown (".\NoSuchUser" is accepted), always as the prefix's one user: a wrong account
//   is only a registry value the program can see, never a service that fails to start.
// - It writes ImagePath as REG_SZ when it saves a service, and adds WOW64 = 1 for a service
//   a 32-bit program registered (then it starts the image from syswow64, and svchost.exe
//   in its 32-bit form). PreshutdownTimeout is its own too.
// - ChangeServiceConfig without dependencies drops them; this library always names them.
// - It reads Services\SCardSvr only when it starts: a value written straight to the
//   registry is seen by `net start` only after SimulateRestart().
// Key owners and DACLs live only in the running wineserver and are never saved to the
// registry files (a wineserver that exits forgets them). The test bed keeps one wineserver
// for the whole run, and SimulateRestart() leaves it running, so key security survives a
// simulated restart, as it survives a real one.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "sysutil/handles.h"

enum class TSubsystemState {
  Healthy,            // registered as the repair leaves it, running; Calais complete and open
  ServiceStopped,     // healthy but not running
  StartManual,        // Start 3 for manager and registry; not running, as after a restart
  StartDisabled,      // Start 4 for manager and registry; not running
  ObjectNameWrong,    // "LocalSystem" instead of the family's account, for manager and registry
  ObjectNameMissing,  // no ObjectName value (registry only: the manager keeps its account)
  GroupMissing,       // no Group, for manager and registry (the XP SP2 check)
  CalaisDenied,       // Calais' DACL denies Everyone all access, administrators included
  CalaisNoAccess,     // Calais' DACL is empty: it grants nothing to anyone
  CurrentMissing,     // no Calais\Current
  ReadersMissing,     // no Calais\Readers
  SmartCardsMissing,  // no Calais\SmartCards
  ServiceMissing,     // no Services\SCardSvr key and unknown to the manager
  SCardDrvPresent,    // Services\SCardDrv registered with the manager (demand start)
  SvchostForm,        // healthy, but run by svchost.exe -k LocalService from SCardSvr.dll
  // As Windows 7 and later install the service and leave it while no reader is attached:
  // Start 3 for manager and registry, svchost.exe -k LocalServiceAndNoImpersonation (which
  // hosts SCardSvr.dll), stopped.
  WindowsDefault,
  ReaderAttached,      // a present device of the smart-card reader class
  DeviceEnumDisabled,  // ScDeviceEnum disabled, for manager and registry
};

// The keys a repair may change, for a full export before and after: Services\SCardSvr,
// Services\SCardDrv, the two companions' keys and Calais.
std::string SubsystemExport();

// A short name of the state for test traces and test names: "stopped", "Calais denied" ...
const char* SubsystemStateName(TSubsystemState state);

// The healthy baseline, then each state's change in the order given ({WindowsDefault,
// CurrentMissing}: Windows' own configuration with one defect). Fails the running test when
// a step does not work, since every test after it would see the wrong state.
void SetSubsystemState(const std::vector<TSubsystemState>& states);
void MakeSubsystemHealthy();

// Puts the subsystem back to healthy at the end of a test, whatever it did.
class TSubsystemScope {
 public:
  explicit TSubsystemScope(TSubsystemState state = TSubsystemState::Healthy)
      : TSubsystemScope(std::vector<TSubsystemState>{state}) {}
  explicit TSubsystemScope(const std::vector<TSubsystemState>& states);
  TSubsystemScope(const TSubsystemScope&) = delete;
  TSubsystemScope& operator=(const TSubsystemScope&) = delete;
  ~TSubsystemScope();
};

// Ends Wine's service manager (services.exe; every service process goes with it) and
// starts it again through the 64-bit `wineboot --init`, which reads the services' keys
// afresh and starts the auto-start ones: what a restart of Windows does to the services.
// Takes about half a second; the test process, the desktop and the wineserver stay.
void SimulateRestart();

// Starts SCardSvr through the manager and waits for it to run; ERROR_SUCCESS or why not.
DWORD StartSCardSvr();
// Stops it through the manager (Wine's `net stop ScardSvr /yes` is a syntax error) and
// waits for it; true when it is stopped (or was not known or running).
bool StopSCardSvr();
bool SCardSvrRunning();

// What the service manager believes about SCardSvr; empty when it does not know it.
struct TManagerView {
  DWORD State = 0;  // SERVICE_RUNNING, SERVICE_STOPPED ...
  DWORD Type = 0;
  DWORD Start = 0;
  std::wstring Account;
  std::wstring Group;
  std::wstring Process;  // file name of the program it runs in, empty when not running
};
std::optional<TManagerView> SCardSvrAsManagerSeesIt();

// Runs `<System folder>\net.exe <arguments>` or the double `<System folder>\SCardSvr.exe
// <arguments>` as the program does; the exit code (STILL_ACTIVE when it hung).
DWORD RunNet(const std::wstring& arguments);
DWORD RunSCardSvrDouble(const std::wstring& arguments);

// A present device of the smart-card reader class, as Windows lists an attached reader;
// every one goes with the baseline.
void AttachReaderDevice();
// Calais\Readers\<name> sub-keys, which the test WINSCARD.DLL lists as attached readers.
void AddReader(const std::string& name);
void RemoveReader(const std::string& name);

// TEST KNOB of the test WINSCARD.DLL: makes the call answer `code` instead; 0 removes it.
enum class TWinSCardCall { EstablishUser, EstablishSystem, ListReaders };
void SetWinSCardFault(TWinSCardCall call, LONG code);
// TEST KNOB: every SCardEstablishContext of the test WINSCARD.DLL blocks for `ms` first;
// 0 removes it.
void SetWinSCardDelay(DWORD ms);
