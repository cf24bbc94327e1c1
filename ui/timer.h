#pragma once
// A periodic timer on a message-only window: it fires from any message loop that
// dispatches, including the waits that pump messages.
#include <functional>

#include "ui/window.h"

class TTimer : public TWindow {
 public:
  TTimer();
  ~TTimer() override;

  void SetInterval(UINT ms);
  UINT Interval() const { return FInterval; }
  // Enabling restarts the countdown.
  void SetEnabled(bool enabled);
  bool Enabled() const { return FEnabled; }

  std::function<void()> OnTimer;

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  UINT FInterval = 1000;
  bool FEnabled = false;
};
