#pragma once
// What the message and question dialogs share: a white dialog frame with the theme's
// caption, an icon, lines of label markup at a pitch of twice the font's point size, and
// a place centred over a reference window and kept on the screen.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/qvlabel.h"
#include "controls/vexcheck.h"
#include "ui/form.h"
#include "ui/image.h"

// 0 warning, 1 information, 2 error, 3 question; any other value shows no icon.
enum TDialogIcon { diWarning = 0, diInformation = 1, diError = 2, diQuestion = 3 };

class TVexDialogForm : public TForm {
 public:
  static constexpr int LinesLeft = 79;

  TImage& TypeImage() { return FTypeImage; }
  // Lines are made when a text first needs them: a window costs more than anything else a
  // dialog does before it shows, and lines past the text would show nothing anyway.
  TQvLabel& Line(int index);
  TVEXCheck& NichtNochMalCB() { return FCheckBox; }
  int LinePitch() const { return FLinePitch; }

 protected:
  TVexDialogForm(const wchar_t* className, int lineCount, const std::string& checkCaption);

  // Colours, icon, caption and lines for a new text; returns the number of lines shown and
  // sets `width` to the widest of them.
  int SetUp(const std::string& text, int icon, size_t maxLines, int& width);
  // Client width and height for the bottom of the buttons, the check box placed and shown
  // or hidden; then the dialog centred over `reference`, sized and moved in one step.
  void FitBelowAndPlace(int clientWidth, int buttonBottom, bool showCheckBox,
                        const TWindow* reference);
  // How to lay the dialog out again for the text it shows, when the display's scale
  // changes under it; each Prepare leaves it here.
  void SetRelayout(std::function<void()> relayout) { FRelayout = std::move(relayout); }
  // The layout made again where the dialog is, the check box as the user left it.
  void ScaleChanged() override;

 private:
  TImage FTypeImage{this, {}};
  TVEXCheck FCheckBox{this, {}};
  std::vector<std::unique_ptr<TQvLabel>> FLines;
  size_t FMaxLines;
  std::function<void()> FRelayout;
  int FLinePitch = 24;
};
