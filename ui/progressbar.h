#pragma once
// The platform progress bar.
#include "ui/window.h"

class TProgressBar : public TWindow {
 public:
  explicit TProgressBar(TWindow* parent);
  void SetMax(int max);
  int Max() const { return FMax; }
  void SetPosition(int position);
  int Position() const { return FPosition; }
  void StepIt() { SetPosition(FPosition + 1); }

 private:
  int FMax = 100;
  int FPosition = 0;
};
