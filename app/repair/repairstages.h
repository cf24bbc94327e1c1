#pragma once
// The repair itself, shared by the wizard and the unattended run: up to four stages of
// growing weight that stop as soon as the smart-card layer works and the registry is in
// order. Every change and check is traced; how a step is shown is the caller's.
#include <windows.h>

#include <functional>
#include <string>

#include "app/repair/windowsfamily.h"

class TDiagnosticLog;
class TPCSCLibrary;

// The first lines of every run's trace: a blank line, the program's banner, the local date
// and time, and the Windows version.
void WriteRunHeader(TDiagnosticLog& log);

class TRepairStages {
 public:
  // Shows one step of the progress with its text, then pauses for `ms`.
  using TStep = std::function<void(const std::string& text, DWORD ms)>;

  // `forced`: the user wants every stage although the layer worked before.
  TRepairStages(TDiagnosticLog& log, const TPCSCLibrary& pcsc, const TVariantFlags& flags,
                TStep step, bool forced);

  // True when a stage found the layer working and the run stopped after it.
  bool Run();
  // Re-registers where Windows has the registration, reinstalls a stopped service,
  // configures both services again and enables a disabled companion.
  void ReinstallService();

 private:
  bool LightRepair();
  bool PermissionRepair();
  bool Reinstall();
  void FullRepair();
  // The layer answers, the registry verifies clean and the user did not insist.
  bool Works();
  void Start(const std::string& program, const std::string& parameters, unsigned timeoutMs);
  void NetStop();
  void NetStart();

  TDiagnosticLog& FLog;
  const TPCSCLibrary& FPCSC;
  TVariantFlags FFlags;
  TStep FStep;
  bool FForced;
  std::string FSystemDir;  // with "\"
};
