#include "app/wizard/infolinks.h"

#include <windows.h>

#include "app/texts.h"
#include "dialogs/vexhint.h"
#include "sysutil/windowsversion.h"

namespace {
constexpr char Heading[] = "<b><s9>";
// Colour tags are Windows colour values, blue green red: this is red.
constexpr char Red[] = "<#0000FF>";
}  // namespace

std::string WindowsHintText() {
  return Heading + LangText(sWinHintTitle) + "||" + LangText(sWinHint1) + "||" + LangText(sWinHint2) +
         "|" + LangText(sWinHint3) + "||" + LangText(sWinHintCurrent) + " " + Red + WindowsVersionName();
}

std::string AdminHintText() {
  return Heading + LangText(sAdminHintTitle) + "||" + LangText(sAdminHint1) + "|" + LangText(sAdminHint2) +
         "||" + LangText(sAdminHint3);
}

std::string PCSCHintText(bool awaitingReader) {
  std::string text = Heading + LangText(sPCSCHintTitle) + "||" + LangText(sPCSCHint1) + " " +
                     LangText(sPCSCHint2) + "||" + LangText(sPCSCHint3);
  if (awaitingReader) text += "||" + LangText(sPCSCHintAwaiting);
  return text;
}

void ShowInfoHint(const std::string& text, const TWindow& owner) {
  POINT pointer{};
  GetCursorPos(&pointer);
  VEXHint().Popup(text, pointer, &owner);
}
