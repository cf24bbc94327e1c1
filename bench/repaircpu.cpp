// repaircpu: one whole repair run of the wizard in this process, as Start runs it, against
// whatever smart-card subsystem the prefix has (the bench prefix has none: the run takes the
// full-repair path of a missing service; a working one is repaired anyway, through every
// stage), with the question a working subsystem brings asked first and answered "Yes" as a
// user would. Prints "wall MS", "cpu MS", "delays MS" (the sum of the pauses the run's
// steps ask for) and "peak KIB" (the peak working set).
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>

#include "app/texts.h"
#include "app/wizard/confirmation.h"
#include "app/wizard/mainform.h"
#include "bench/clock.h"
#include "bench/startchecks.h"
#include "controls/vexdesign.h"
#include "dialogs/vexquestion.h"
#include "ui/application.h"
#include "ui/timer.h"

int wmain() {
  DesignStart();
  ChooseLanguage();
  {
    TCardmendMainForm form;
    form.Show();
    AwaitStartChecks(form);
    // The pauses of the steps, and the run's own before the first step and at the end.
    double delays = 200 + 350;
    form.OnProgressStep = [&](const std::string&, DWORD ms) { delays += ms; };
    // Where the layer works already, the question is answered "Yes" and every stage runs.
    TTimer answer;
    answer.SetInterval(50);
    answer.OnTimer = [] {
      HWND question = FindWindowW(L"TVEXQuestionForm", nullptr);
      if (question && IsWindowVisible(question)) PostMessageW(question, WM_KEYDOWN, 'Y', 1);
    };
    answer.SetEnabled(true);
    const double cpu = ProcessCpuMs();
    const double start = NowMs();
    if (VEXQuestion().Ask(RepairConfirmation(&form)) != qaYes) {
      std::fprintf(stderr, "repaircpu: the question was not answered \"Yes\"\n");
      return 1;
    }
    form.StartKnopfClick();
    const double wall = NowMs() - start;
    const double used = ProcessCpuMs() - cpu;
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
    std::printf("wall %.0f\ncpu %.0f\ndelays %.0f\npeak %lu\n", wall, used, delays,
                static_cast<unsigned long>(memory.PeakWorkingSetSize / 1024));
  }
  DesignEnd();
  return 0;
}
