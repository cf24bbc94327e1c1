#pragma once
// The benchmarks' wait for the start page's checks, which follow the wizard's first paint
// (a timer, then a probe thread for the PC/SC status): what they measure next should not
// pay for them.
#include <windows.h>

#include "app/wizard/mainform.h"
#include "bench/clock.h"
#include "ui/application.h"

inline void AwaitStartChecks(const TCardmendMainForm& form) {
  const double since = NowMs();
  while (!form.PCSCStatusKnown() && NowMs() - since < 10000) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    Application().ProcessMessages();
  }
}
