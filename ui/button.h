#pragma once
// The platform push button.
#include "ui/window.h"

class TButton : public TWindow {
 public:
  explicit TButton(TWindow* parent);
  bool Accelerator(wchar_t ch) override;

 protected:
  void Command(WORD code) override;
};
