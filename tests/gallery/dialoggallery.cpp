// dialoggallery FOLDER: renders the message, question and hint windows, in English and in
// German, each to FOLDER\<name>.bmp, for a person to look at. 'make test' turns them into
// build/dialog-*.png.
#include <windows.h>

#include <functional>
#include <string>

#include "controls/vexdesign.h"
#include "dialogs/vexhint.h"
#include "dialogs/vexmessage.h"
#include "dialogs/vexquestion.h"
#include "tests/bed/screenpicture.h"
#include "ui/scaling.h"

namespace {

// Shows the laid-out form without a modal loop, lets it paint, and copies it off the
// screen with its frame and children.
bool Capture(TForm& form, const std::wstring& path) {
  ShowForPicture(form.Handle());
  RECT r{};
  GetWindowRect(form.Handle(), &r);
  const bool saved = SaveScreen(r, path);  // the desktop shows around the balloon's corners
  ShowWindow(form.Handle(), SW_HIDE);
  return saved;
}

// The three dialogs in both languages, each to FOLDER\dialog-KIND`infix`-LANG.bmp.
bool Pictures(const std::wstring& folder, const std::wstring& infix) {
  const auto path = [&](const wchar_t* kind, const wchar_t* lang) {
    return folder + L"dialog-" + kind + infix + L"-" + lang + L".bmp";
  };
  bool ok = true;
  {
    TVEXMessageForm message;
    message.Prepare("<b>No Web browser is installed!|Cardmend could not open the web address.",
                    diError, false, {}, nullptr);
    ok &= Capture(message, path(L"message", L"en"));
    message.Prepare("<b>Es ist kein Webbrowser installiert!|Cardmend konnte die Webadresse "
                    "nicht \xC3\xB6" "ffnen.",
                    diError, true, {}, nullptr);
    ok &= Capture(message, path(L"message", L"de"));
  }
  {
    TVEXQuestionForm question;
    TQuestion q;
    q.Text = "The Smart Card Resource Manager is running and responds.||Repair it anyway?";
    q.Captions = {"&Yes", "&No"};
    q.Buttons = qbYes | qbNo;
    q.DefaultButton = qaNo;
    question.Prepare(q);
    question.NeinKnopf().SetDefault(true);
    ok &= Capture(question, path(L"question", L"en"));
    q.Text = "Der Smart Card Resource Manager l\xC3\xA4uft und antwortet.||Trotzdem reparieren?";
    q.Captions = {"&Ja", "&Nein"};
    q.Buttons = qbYes | qbNo | qbCancel;
    q.HelpTopic = "repair.htm";
    q.ShowCheckBox = true;
    question.Prepare(q);
    ok &= Capture(question, path(L"question", L"de"));
  }
  {
    TVEXHintForm hint;
    const RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const POINT point{work.right / 2 - 120, work.bottom / 2};
    hint.Prepare("<b>Administrator rights</b>|Cardmend changes the service's configuration and "
                 "the access rights|of the smart-card keys. <a>Tell me more.</a>",
                 point, nullptr, htInformation);
    ok &= Capture(hint, path(L"hint", L"en"));
    hint.Prepare("<b>Administratorrechte</b>||Cardmend \xC3\xA4ndert die Einstellungen des Dienstes.",
                 point, nullptr, htWarning);
    ok &= Capture(hint, path(L"hint", L"de"));
  }
  return ok;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  const std::wstring folder = std::wstring(argv[1]) + L"\\";
  DesignStart();
  DesignProductName = "Cardmend";
  DesignTrademark = "";
  bool ok = Pictures(folder, L"");
  // And at 125, 150 and 200 % display scale.
  for (const int dpi : {120, 144, 192}) {
    const TDpiOverride scale(dpi);
    DesignScaleChanged();  // the icons, as a program started at that scale makes them
    ok &= Pictures(folder, L"-" + std::to_wstring(dpi));
  }
  DesignScaleChanged();
  DesignEnd();
  return ok ? 0 : 1;
}
