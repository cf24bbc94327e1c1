#pragma once
// The start page's PC/SC status, found on a thread of its own: where WINSCARD blocks (a
// service stuck in "start pending" can hold a caller for many seconds) the window still
// paints and answers while the status is found out.
#include <windows.h>

#include <memory>

#include "app/repair/healthcheck.h"
#include "app/repair/pcsc.h"
#include "sysutil/handles.h"

class TStatusProbe {
 public:
  // Posted to the target window when a probe is done: wParam is the TLayerStatus.
  static constexpr UINT DoneMessage = WM_APP + 77;

  explicit TStatusProbe(HWND target) : FTarget(target) {}

  // Starts finding the status out with `pcsc`, which the probe keeps alive until it is
  // done; false when the last probe is still at it (one at a time, however slow).
  // Without a thread to start, it finds the status out at once.
  bool Start(std::shared_ptr<const TPCSCLibrary> pcsc);
  bool Busy() const;

  static TLayerStatus Answer(WPARAM wp) { return static_cast<TLayerStatus>(wp); }

 private:
  HWND FTarget;
  // A probe that blocks is not waited for, not even when the window goes: its thread holds
  // what it needs, posts to a window that may be gone, and ends with the process at worst.
  THandle FThread;
};
