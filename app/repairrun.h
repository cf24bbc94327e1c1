#pragma once
// What Start (or Enter on the start page) does: the preconditions, the question when the
// smart-card layer works already, up to four repair stages of growing weight that stop as
// soon as the layer works and the registry is in order, and an end that always reaches the
// finish page, also when a stage throws.
#include "app/repairstages.h"

class TCardmendMainForm;

class TRepairRun {
 public:
  explicit TRepairRun(TCardmendMainForm& form) : F(form) {}

  // StartKnopfClick. An exception of a stage is thrown on after the finish page shows.
  void Execute();
  void ReinstallService();

 private:
  bool PreconditionsMet();
  bool Confirmed();
  void ShowProgressPage();
  TRepairStages Stages();
  void EndPhase();

  TCardmendMainForm& F;
  bool FCtrlHeld = false;
  bool FForced = false;
};
