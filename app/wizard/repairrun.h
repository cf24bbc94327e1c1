#pragma once
// What Start (or Enter on the start page) does: the preconditions, the question when the
// subsystem is in order already, up to four repair stages of growing weight that stop as
// soon as the layer works and the registry is in order, and an end that always reaches the
// finish page, also when a stage throws.
#include <windows.h>

#include <string>

#include "app/repair/repairstages.h"
#include "app/repair/windowsfamily.h"

class TDiagnosticLog;
class TPCSCLibrary;

// What a run needs of the window that shows it.
class TRepairPages {
 public:
  // The progress page, its bar empty, saying that the rights are being checked.
  virtual void ShowProgress() = 0;
  // One step of the bar with its text, then a pause of `ms` in which the window answers.
  virtual void Step(const std::string& text, DWORD ms) = 0;
  // The bar filled to its end, then the finish page, with "restart now" chosen when the
  // repair waits for the next start of Windows and "later" otherwise.
  virtual void ShowFinish(bool restartNeeded) = 0;
  // Why no run starts, in the message dialog.
  virtual void Refuse(const std::string& text) = 0;
  // Whether a system in order is to be repaired all the same.
  virtual bool AskToRepairWorkingSystem() = 0;
  // The run's trace in the text viewer.
  virtual void ShowTrace() = 0;

 protected:
  ~TRepairPages() = default;
};

class TRepairRun {
 public:
  TRepairRun(TRepairPages& pages, TDiagnosticLog& log, TPCSCLibrary& pcsc, TVariantFlags variant)
      : FPages(pages), FLog(log), FPCSC(pcsc), FVariant(variant) {}

  // An exception of a stage is thrown on after the finish page shows.
  void Execute();
  void ReinstallService();

 private:
  bool PreconditionsMet();
  bool Confirmed();
  bool RestartNeeded(const std::string& before) const;
  TRepairStages Stages();

  TRepairPages& FPages;
  TDiagnosticLog& FLog;
  TPCSCLibrary& FPCSC;
  const TVariantFlags FVariant;
  bool FCtrlHeld = false;
  bool FForced = false;
};
