#include "controls/vexcheck.h"

TVEXCheck::TVEXCheck(TWindow* parent, const RECT& bounds)
    : TVexToggleBase(parent, L"TVEXCheck", Art::CheckGlyphs, 3, bounds) {}

void TVEXCheck::SetState(TCheckBoxState state) {
  if (state == FState) return;
  FState = state;
  Repaint();
  Click();
}

void TVEXCheck::Toggle() {
  switch (FState) {
    case cbUnchecked: SetState(FAllowGrayed ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
  }
}

// Sheet rows: checked, grayed, unchecked.
int TVEXCheck::GlyphRow() const {
  return FState == cbChecked ? 0 : FState == cbGrayed ? 1 : 2;
}

void TVEXCheck::Released(int button) {
  if (button == VK_LBUTTON) Toggle();
}

void TVEXCheck::SetCheckValue(int value) {
  SetState(value == BST_CHECKED ? cbChecked : value == BST_INDETERMINATE ? cbGrayed : cbUnchecked);
}
