#include "ui/button.h"

#include "ui/form.h"

TButton::TButton(TWindow* parent) : TButton(parent, BS_PUSHBUTTON) {}

TButton::TButton(TWindow* parent, DWORD style, const RECT& bounds) : TWindow(parent) {
  CreatePlatform(L"BUTTON", WS_VISIBLE | WS_TABSTOP | style, 0, bounds);
}

bool TButton::Accelerator(wchar_t ch) {
  if (!HasCaptionAccelerator(ch)) return false;
  Click();
  return true;
}

bool TButton::DialogKey(WPARAM key) {
  const bool mine = (key == VK_RETURN && TakesEnter()) || (key == VK_ESCAPE && FCancel);
  const bool modifier = GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0 ||
                        GetKeyState(VK_MENU) < 0;
  if (!mine || modifier) return false;
  Click();
  return true;
}

void TButton::SetDefault(bool on) {
  FDefault = on;
  SendMessageW(Handle(), BM_SETSTYLE, on ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::Click() {
  TWindow::Click();
  if (FModalResult == 0) return;
  if (auto* form = dynamic_cast<TForm*>(FromHandle(GetAncestor(Handle(), GA_ROOT))))
    form->SetModalResult(FModalResult);
}

void TButton::Command(WORD code) {
  if (code == BN_CLICKED || code == BN_DOUBLECLICKED) Click();
}
