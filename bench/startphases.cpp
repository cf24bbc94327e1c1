// startphases: one start of the wizard in this fresh process, made as app/entry.cpp makes
// it, timed phase by phase; built with the program's own resources (icon, manifest). Prints
// one line per phase, "MS NAME", in the order they run. Phases up to the first paint are
// what the user waits for; the checks that follow it run while the window is already there.
#include <windows.h>

#include <cstdio>

#include "app/texts.h"
#include "app/wizard/mainform.h"
#include "bench/clock.h"
#include "bench/startchecks.h"
#include "controls/vexdesign.h"
#include "sysutil/windowsversion.h"
#include "ui/application.h"

namespace {

double MsSinceProcessCreation() {
  FILETIME created, exited, kernel, user, now;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  GetSystemTimePreciseAsFileTime(&now);
  const auto ticks = [](const FILETIME& t) {
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  return static_cast<double>(ticks(now) - ticks(created)) / 10000.0;
}

class TLaps {
 public:
  void Lap(const char* name) {
    const double now = NowMs();
    std::printf("%.2f %s\n", now - FLast, name);
    FLast = now;
  }

 private:
  double FLast = NowMs();
};

// Dispatches until the queue is empty, as WaitForInputIdle sees a program become idle.
void PumpUntilIdle() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, wchar_t*, int) {
  std::printf("%.2f process creation to main (loader, imports, static data)\n",
              MsSinceProcessCreation());
  TLaps laps;
  {
    HDC screen = GetDC(nullptr);
    DeleteDC(CreateCompatibleDC(screen));
    ReleaseDC(nullptr, screen);
  }
  laps.Lap("display driver's first use (any window program pays it)");
  const HANDLE mutex = CreateMutexW(nullptr, FALSE, L"CardmendStartPhasesBench");
  InitWindowsVersion();
  laps.Lap("mutex and Windows version");
  DesignStart();
  laps.Lap("theme pictures");
  ChooseLanguage();
  laps.Lap("language");
  Application();
  laps.Lap("application window (first window: classes, theme library)");
  {
    TCardmendMainForm form;
    laps.Lap("wizard window and its pages");
    form.Show();
    laps.Lap("show and first paint");
    PumpUntilIdle();
    laps.Lap("after the paint, until idle (where WaitForInputIdle returns)");
    form.LoadPCSCLibrary();
    laps.Lap("then: WINSCARD loaded");
    AwaitStartChecks(form);
    laps.Lap("then: marks, version and PC/SC status (after a 10 ms timer; probe thread)");
  }
  DesignEnd();
  CloseHandle(mutex);
  return 0;
}
