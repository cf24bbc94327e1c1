#include "ui/button.h"

TButton::TButton(TWindow* parent) : TWindow(parent) {
  CreatePlatform(L"BUTTON", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0);
}

bool TButton::Accelerator(wchar_t ch) {
  if (!HasCaptionAccelerator(ch)) return false;
  Click();
  return true;
}

void TButton::Command(WORD code) {
  if (code == BN_CLICKED || code == BN_DOUBLECLICKED) Click();
}
