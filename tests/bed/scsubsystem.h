#pragma once
// Puts the test prefix's smart-card subsystem into named states: the SCardSvr service (the
// test double from tests/doubles/scardsvr, registered with Wine's service manager), its
// companion SCardDrv, the Calais keys in the 64-bit view and the test WINSCARD.DLL's knobs.
//
// Every state starts from MakeSubsystemHealthy(), which undoes whatever a test left, so
// tests may run in any order; a test that changes the subsystem calls it (or SetSubsystemState)
// again at its end, best through a TSubsystemScope.
//
// What the test prefix cannot show:
// - Wine's manager starts the service under the test's own account whatever ObjectName
//   says; a wrong or missing account is only a registry value the program can see.
// - Key owners and DACLs live only in the running wineserver (the test bed keeps one for the
//   whole run); SimulateRestart() does not touch them, as a real restart would not.
// - The manager reads Services\SCardSvr only when it starts; a value written straight to
//   the registry is seen by `net start` only after SimulateRestart().
#include <windows.h>

#include <optional>
#include <string>

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
};

// The healthy baseline, then the state's change. Fails the running test when a step does not
// work, since every test after it would see the wrong state.
void SetSubsystemState(TSubsystemState state);
void MakeSubsystemHealthy();

// Puts the subsystem back to healthy at the end of a test, whatever it did.
class TSubsystemScope {
 public:
  explicit TSubsystemScope(TSubsystemState state = TSubsystemState::Healthy);
  TSubsystemScope(const TSubsystemScope&) = delete;
  TSubsystemScope& operator=(const TSubsystemScope&) = delete;
  ~TSubsystemScope();
};

// Ends Wine's service manager (with every service it hosts) and lets the prefix start it
// again, which reads the services' keys afresh and starts the auto-start ones: what a
// restart of Windows does to the services. The running test process stays.
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

// Calais\Readers\<name> sub-keys, which the test WINSCARD.DLL lists as attached readers.
void AddReader(const std::string& name);
void RemoveReader(const std::string& name);

// TEST KNOB of the test WINSCARD.DLL: makes the call answer `code` instead; 0 removes it.
enum class TWinSCardCall { EstablishUser, EstablishSystem, ListReaders };
void SetWinSCardFault(TWinSCardCall call, LONG code);
