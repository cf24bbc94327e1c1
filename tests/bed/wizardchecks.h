#pragma once
// Shared by the wizard's tests: the window as the program shows it, the trace viewer a test
// watches, and the layer's answer after a repair.
#include <windows.h>

#include <algorithm>
#include <string>

#include "app/repair/diaglog.h"
#include "app/repair/pcsc.h"
#include "app/wizard/mainform.h"
#include "app/wizard/requirementmarks.h"
#include "tests/bed/echorecord.h"
#include "tests/bed/files.h"
#include "tests/bed/registryfixture.h"
#include "tests/bed/scopedenv.h"
#include "tests/bed/scratch.h"
#include "tests/bed/uitest.h"

// Shown, active and with its timer running, as after the program's start (its first
// activation opens the start page).
inline void ShowActive(TCardmendMainForm& form) {
  form.Show();
  SetForegroundWindow(form.Handle());
  PumpFor(200);
}

// Until the checks that follow the first paint are done and the first probe has answered.
inline bool AwaitChecks(TCardmendMainForm& form) {
  const DWORD start = GetTickCount();
  while (!form.PCSCStatusKnown() && GetTickCount() - start < 10000) PumpFor(20);
  return form.PCSCStatusKnown();
}

// The image holds exactly the form's picture of `mark`.
inline bool ShowsMark(const TCardmendMainForm& form, const TImage& image, TRequirementMark mark) {
  TBitmap expected;
  form.ImageList1.GetBitmap(mark, expected);
  const TBitmap& shown = image.Picture();
  return !shown.Empty() && shown.Width() == expected.Width() &&
         shown.Height() == expected.Height() &&
         std::equal(shown.Bits(), shown.Bits() + shown.Width() * shown.Height(), expected.Bits());
}

// The PC/SC layer answers the repair run's own test.
inline bool LayerWorks() {
  TPCSCLibrary pcsc;
  pcsc.Load();
  TDiagnosticLog log;
  return pcsc.Check(log);
}

// While it lives, programs started from the test keep their trace in Temp() and the echo
// program is the viewer registered for ".txt": it records its start in Record() and
// copies the trace it is shown to Copy().
class TEchoViewer {
 public:
  TEchoViewer() {
    CreateDirectoryW(Temp().c_str(), nullptr);
    FRegistry.SetString(HKEY_CLASSES_ROOT, L".txt", L"", L"CardmendTest.LogViewer");
    FRegistry.RemoveKey(HKEY_CLASSES_ROOT, L"CardmendTest.LogViewer");
    FRegistry.SetString(HKEY_CLASSES_ROOT, L"CardmendTest.LogViewer\\shell\\open\\command", L"",
                        L"\"" + HelperProgram(L"echoargs") + L"\" \"%1\"");
  }

  std::wstring Temp() const { return FScratch.Path() + L"temp"; }
  std::wstring Record() const { return FScratch.Path() + L"record"; }
  std::wstring Copy() const { return FScratch.Path() + L"copy"; }

 private:
  TScratchFolder FScratch{L"trace"};
  TScopedEnv FTemp{L"Temp", Temp().c_str()};
  TScopedEnv FRecord{EchoFileVariable, Record().c_str()};
  TScopedEnv FCopy{EchoCopyVariable, Copy().c_str()};
  TRegistryFixture FRegistry;
};

// This thread acts with the process's token minus the Administrators group (kept only to
// deny), as a user without administrator rights would.
class TWithoutAdministrators {
 public:
  TWithoutAdministrators() {
    HANDLE process = nullptr, restricted = nullptr, impersonation = nullptr;
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD sidSize = sizeof(sid);
    if (!CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, sid, &sidSize) ||
        !OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, &process))
      return;
    SID_AND_ATTRIBUTES disable{sid, 0};
    if (CreateRestrictedToken(process, 0, 1, &disable, 0, nullptr, 0, nullptr, &restricted) &&
        DuplicateToken(restricted, SecurityImpersonation, &impersonation))
      FActive = SetThreadToken(nullptr, impersonation) != FALSE;
    for (HANDLE h : {process, restricted, impersonation})
      if (h) CloseHandle(h);
  }
  ~TWithoutAdministrators() {
    if (FActive) RevertToSelf();
  }
  bool Active() const { return FActive; }

 private:
  bool FActive = false;
};
