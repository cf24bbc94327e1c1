#pragma once
// The platform radio button; radio buttons of one parent form one group.
#include "ui/window.h"

class TRadioButton : public TWindow {
 public:
  explicit TRadioButton(TWindow* parent);
  bool Checked() const;
  // Checks this one and clears the others of its group.
  void SetChecked(bool checked);
  bool Accelerator(wchar_t ch) override;

 protected:
  void Command(WORD code) override;
};
