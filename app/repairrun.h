#pragma once
// What Start (or Enter on the start page) does: the preconditions, the question when the
// smart-card layer works already, up to four repair stages of growing weight that stop as
// soon as the layer works and the registry is in order, and an end that always reaches the
// finish page, also when a stage throws.
#include <string>

class TCardmendMainForm;

class TRepairRun {
 public:
  explicit TRepairRun(TCardmendMainForm& form) : F(form) {}

  // StartKnopfClick. An exception of a stage is thrown on after the finish page shows.
  void Execute();
  // Re-registers where Windows has the registration, reinstalls a stopped service and
  // configures both services again.
  void ReinstallService();

 private:
  bool PreconditionsMet();
  void WriteHeader();
  bool Confirmed();
  void ShowProgressPage();
  void Stages();
  bool LightRepair();
  bool PermissionRepair();
  bool Reinstall();
  void FullRepair();
  void EndPhase();
  // The layer answers, the registry verifies clean and the user did not insist.
  bool Works();
  void Run(const std::string& program, const std::string& parameters, unsigned timeoutMs);
  void NetStop();
  void NetStart();

  TCardmendMainForm& F;
  bool FCtrlHeld = false;
  bool FForced = false;
};
