#include "ui/radiobutton.h"

TRadioButton::TRadioButton(TWindow* parent) : TWindow(parent) {
  CreatePlatform(L"BUTTON", WS_VISIBLE | WS_TABSTOP | BS_AUTORADIOBUTTON, 0);
}

bool TRadioButton::Checked() const {
  return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TRadioButton::SetChecked(bool checked) {
  if (checked) {
    // CheckRadioButton would need control IDs; clear the siblings by hand instead.
    for (HWND h = GetWindow(GetParent(Handle()), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
      auto* other = dynamic_cast<TRadioButton*>(FromHandle(h));
      if (other && other != this) SendMessageW(h, BM_SETCHECK, BST_UNCHECKED, 0);
    }
  }
  SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool TRadioButton::Accelerator(wchar_t ch) {
  if (!HasCaptionAccelerator(ch)) return false;
  SetFocus();
  SetChecked(true);
  Click();
  return true;
}

void TRadioButton::Command(WORD code) {
  if (code == BN_CLICKED || code == BN_DOUBLECLICKED) Click();
}
