#pragma once
// The question dialog: an icon, up to ten lines of label markup, up to three answers
// ("Ja", "Nein", "Abbruch"), an optional help button and an optional "do not ask again"
// box. The process's one wrapper asks one question at a time.
#include <cstdint>
#include <string>
#include <vector>

#include "controls/veximagebutton.h"
#include "controls/vexxpbutton.h"
#include "dialogs/vexdialogform.h"

enum TQuestionAnswer : uint8_t { qaYes = 0, qaNo = 1, qaCancel = 2 };
// The button set.
enum : uint8_t { qbYes = 1, qbNo = 2, qbCancel = 4 };

struct TQuestion {
  std::string Text;
  int Icon = diQuestion;
  std::string HelpTopic;
  bool ShowCheckBox = false;
  // Items 0 to 2 replace "Ja", "Nein" and "Abbruch", item 3 the check box's caption.
  std::vector<std::string> Captions;
  uint8_t Buttons = qbYes | qbNo | qbCancel;
  int DefaultButton = qaYes;
  const TWindow* Reference = nullptr;
};

class TVEXQuestionForm : public TVexDialogForm {
 public:
  static constexpr int LineCount = 10;
  static constexpr int ButtonGap = 23;
  static constexpr int HelpLeft = 78;

  TVEXQuestionForm();

  // Lays the dialog out; Ask does this, then shows it modally and returns the answer.
  void Prepare(const TQuestion& question);
  uint8_t Ask(const TQuestion& question);

  TVexXPButton& JaKnopf() { return FJaKnopf; }
  TVexXPButton& NeinKnopf() { return FNeinKnopf; }
  TVexXPButton& AbbruchKnopf() { return FAbbruchKnopf; }
  TVexHelpButton& HilfeKnopf() { return FHilfeKnopf; }
  uint8_t Answer() const { return FAnswer; }

 protected:
  bool ShortCut(const MSG& msg) override;

 private:
  void PlaceButtons(int width, uint8_t buttons);
  void Answered(uint8_t answer);
  void ShowHelp() const;
  TVexXPButton* ButtonOf(int answer);

  TVexXPButton FJaKnopf{this, {40, 200, 40 + 98, 200 + 25}};
  TVexXPButton FNeinKnopf{this, {152, 200, 152 + 98, 200 + 25}};
  TVexXPButton FAbbruchKnopf{this, {264, 200, 264 + 98, 200 + 25}};
  TVexHelpButton FHilfeKnopf{this};
  int FDefaultButton = qaYes;
  std::string FHelpTopic;
  uint8_t FAnswer = qaCancel;
};

class TVEXQuestion {
 public:
  // qaCancel without asking while a question shows.
  uint8_t Ask(const TQuestion& question);
  bool ShowAgain() const { return FShowAgain; }
  TVEXQuestionForm* Form() const { return FForm; }

 private:
  TVEXQuestionForm* FForm = nullptr;
  bool FShowAgain = true;
};

TVEXQuestion& VEXQuestion();
