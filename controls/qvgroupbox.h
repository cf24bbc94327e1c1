#pragma once
// A group box: a thin frame with cut corners in `Rahmenfarbe` and the caption on its top
// edge, over the frame line. It holds the controls inside it.
#include "ui/panel.h"

class TQVGroupBox : public TPanel {
 public:
  explicit TQVGroupBox(TWindow* parent);

  COLORREF Rahmenfarbe() const { return FRahmenfarbe; }
  void SetRahmenfarbe(COLORREF color);

 protected:
  void Paint(TCanvas& canvas) override;

 private:
  COLORREF FRahmenfarbe = 0xCFD7D0;
};
