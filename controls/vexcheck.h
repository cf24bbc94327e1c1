#pragma once
// The program's check box: unchecked, checked and, when allowed, grayed.
#include "controls/vextogglebase.h"

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TVEXCheck : public TVexToggleBase {
 public:
  explicit TVEXCheck(TWindow* parent, const RECT& bounds = {0, 0, 97, 16});

  TCheckBoxState State() const { return FState; }
  // A real change repaints at once and raises OnClick; the same value raises nothing.
  void SetState(TCheckBoxState state);
  bool Checked() const { return FState == cbChecked; }
  void SetChecked(bool on) { SetState(on ? cbChecked : cbUnchecked); }
  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool on) { FAllowGrayed = on; }
  bool Down() const { return Pressed(); }
  void SetDown(bool on) { SetPressed(on); }
  // The change a click or Space makes: unchecked, (grayed,) checked, unchecked.
  void Toggle();

 protected:
  int GlyphRow() const override;
  int BlankActiveWidth() const override { return Width(); }
  void Released(int button) override;
  void SpaceReleased() override { Toggle(); }
  int CheckValue() const override { return FState; }
  void SetCheckValue(int value) override;

 private:
  TCheckBoxState FState = cbUnchecked;
  bool FAllowGrayed = false;
};
