#pragma once
// The program's radio button. Radio buttons with the same GroupIndex and the same parent
// exclude each other; one is selected by a click with any button, by Space, by the setter,
// and by taking the focus, so that the keyboard selects each button it reaches.
#include <cstdint>

#include "controls/vextogglebase.h"
#include "ui/scaling.h"

class TVEXRadio : public TVexToggleBase {
 public:
  explicit TVEXRadio(TWindow* parent, const RECT& bounds = {0, 0, 98, 16});

  bool Checked() const { return FChecked; }
  // Selecting clears the siblings of the group and raises OnClick; clearing raises none.
  // The selected button is the group's tab stop.
  void SetChecked(bool on);
  uint8_t GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(uint8_t index) { FGroupIndex = index; }

 protected:
  int GlyphRow() const override { return FChecked ? 0 : 1; }
  int BlankActiveWidth() const override { return Scaled(16); }
  void Released(int) override;
  void SpaceReleased() override;
  int CheckValue() const override { return FChecked ? BST_CHECKED : BST_UNCHECKED; }
  void SetCheckValue(int value) override { SetChecked(value == BST_CHECKED); }
  // Read-only keeps its value also when the keyboard arrives.
  void FocusGained() override {
    if (!ReadOnly()) SetChecked(true);
  }
  void FocusLost() override;

 private:
  void ClearSiblings();

  bool FChecked = false;
  uint8_t FGroupIndex = 0;
};
