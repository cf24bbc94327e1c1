// delaycpu [MS]: the CPU time this process uses while it waits MS milliseconds (3000 when
// not given) with the wizard on screen, once through Delay and once through a loop that
// polls the queue without ever blocking, the naive wait Delay must beat.
// Prints one line per wait: NAME WALL_MS CPU_MS CPU_PERCENT.
// The CPU time is this process's only (bench/clock.h). Under Wine every PeekMessage is a call to
// wineserver, so the polling wait also burns wineserver time that is not counted here.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>

#include "app/wizard/mainform.h"
#include "bench/clock.h"
#include "sysutil/wait.h"

namespace {

void SpinningWait(std::uint32_t ms) {
  const double end = NowMs() + ms;
  MSG msg;
  while (NowMs() < end) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

void Measure(const char* name, const std::function<void()>& wait) {
  const double cpu = ProcessCpuMs();
  const double start = NowMs();
  wait();
  const double wall = NowMs() - start;
  const double used = ProcessCpuMs() - cpu;
  std::printf("%s %.1f %.1f %.2f\n", name, wall, used, 100.0 * used / wall);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  const std::uint32_t ms = argc > 1 ? static_cast<std::uint32_t>(std::atoi(argv[1])) : 3000;

  TCardmendMainForm form;
  form.Show();
  // Let activation, the first painting and the form's timer get going before measuring.
  const double settled = NowMs() + 500;
  while (NowMs() < settled) {
    PumpMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
  if (!IsWindowVisible(form.Handle())) {
    std::fprintf(stderr, "the wizard window is not visible\n");
    return 1;
  }

  Measure("delay", [ms] { Delay(ms); });
  Measure("spin", [ms] { SpinningWait(ms); });
  return 0;
}
