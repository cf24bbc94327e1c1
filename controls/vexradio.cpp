#include "controls/vexradio.h"

#include <vector>

namespace {

struct TSiblings {
  HWND Parent;
  std::vector<HWND> Found;
};

BOOL CALLBACK CollectSibling(HWND h, LPARAM lp) {
  auto* siblings = reinterpret_cast<TSiblings*>(lp);
  if (GetParent(h) == siblings->Parent) siblings->Found.push_back(h);
  return TRUE;
}

}  // namespace

TVEXRadio::TVEXRadio(TWindow* parent, const RECT& bounds)
    : TVexToggleBase(parent, L"TVEXRadio", Art::RadioGlyphs, 2, bounds) {}

void TVEXRadio::SetChecked(bool on) {
  if (on == FChecked) return;
  LONG style = GetWindowLongW(Handle(), GWL_STYLE);
  SetWindowLongW(Handle(), GWL_STYLE, on ? style | WS_TABSTOP : style & ~WS_TABSTOP);
  FChecked = on;
  if (on) {
    ClearSiblings();
    Click();
  }
  Repaint();
}

// The direct children of the same parent only: a group on another panel is another group.
void TVEXRadio::ClearSiblings() {
  TSiblings siblings{GetParent(Handle()), {}};
  EnumChildWindows(siblings.Parent, &CollectSibling, reinterpret_cast<LPARAM>(&siblings));
  for (HWND h : siblings.Found) {
    auto* other = dynamic_cast<TVEXRadio*>(FromHandle(h));
    if (other && other != this && other->FGroupIndex == FGroupIndex) other->SetChecked(false);
  }
}

void TVEXRadio::Released(int) {
  if (!FChecked) SetChecked(true);
}

void TVEXRadio::SpaceReleased() {
  if (!FChecked) SetChecked(true);
}

void TVEXRadio::FocusLost() {
  SetPressed(false);
  if (GetCapture() == Handle()) ReleaseCapture();
}
