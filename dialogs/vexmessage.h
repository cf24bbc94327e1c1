#pragma once
// The message dialog: an icon, up to fifteen lines of label markup, "OK" and an optional
// "do not show again" box. The process's one wrapper shows one at a time.
#include <cstdint>
#include <string>
#include <vector>

#include "controls/vexxpbutton.h"
#include "dialogs/vexdialogform.h"

class TVEXMessageForm : public TVexDialogForm {
 public:
  static constexpr int LineCount = 15;

  TVEXMessageForm();

  // Lays the dialog out; ShowMessage does this, then shows it modally. Returns 0.
  void Prepare(const std::string& text, int icon, bool showCheckBox,
               const std::vector<std::string>& captions, const TWindow* reference);
  uint8_t ShowMessage(const std::string& text, int icon, bool showCheckBox,
                      const std::vector<std::string>& captions, const TWindow* reference);

  TVexXPButton& OKKnopf() { return FOKKnopf; }

 protected:
  bool ShortCut(const MSG& msg) override;

 private:
  TVexXPButton FOKKnopf{this, {152, 176, 152 + 98, 176 + 25}};
};

class TVEXMessage {
 public:
  // `captions`: item 0 replaces "OK", item 1 the check box's caption. Both answer 0, also
  // when refused because a message shows already.
  uint8_t ShowInfo(const std::string& text, const TWindow* reference = nullptr,
                   bool showCheckBox = false, const std::vector<std::string>& captions = {});
  uint8_t ShowError(const std::string& text, const TWindow* reference = nullptr,
                    bool showCheckBox = false, const std::vector<std::string>& captions = {});
  // After each shown message: false when its box was ticked.
  bool ShowAgain() const { return FShowAgain; }
  TVEXMessageForm* Form() const { return FForm; }

 private:
  uint8_t Show(const std::string& text, int icon, const TWindow* reference, bool showCheckBox,
               const std::vector<std::string>& captions);

  TVEXMessageForm* FForm = nullptr;
  bool FShowAgain = true;
};

TVEXMessage& VEXMessage();
