#pragma once
// The platform push button, and the base of the owner-drawn ones.
#include "ui/window.h"

class TButton : public TWindow {
 public:
  explicit TButton(TWindow* parent);
  bool Accelerator(wchar_t ch) override;
  bool DialogKey(WPARAM key) override;

  // Enter presses the default button, Esc the cancel button, wherever the focus is.
  void SetDefault(bool on);
  bool Default() const { return FDefault; }
  void SetCancel(bool on) { FCancel = on; }
  bool Cancel() const { return FCancel; }
  // A click also ends the modal form it sits on with this result (mrNone: it does not).
  void SetModalResult(int result) { FModalResult = result; }
  int ModalResult() const { return FModalResult; }

 protected:
  // For owner-drawn buttons: BS_OWNERDRAW and the like instead of BS_PUSHBUTTON.
  TButton(TWindow* parent, DWORD style, const RECT& bounds = {});
  // Whether Enter presses this button now: the default one does.
  virtual bool TakesEnter() const { return FDefault; }
  void Command(WORD code) override;
  void Click() override;

 private:
  bool FDefault = false;
  bool FCancel = false;
  int FModalResult = 0;
};
