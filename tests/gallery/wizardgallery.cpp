// wizardgallery FOLDER PROGRAM: renders the wizard window as its user sees it, in English
// and in German: its three pages, each information hint over the start page, the question
// asked before repairing a working system and the usage a wrong command line shows without
// a console, at 100, 125, 150 and 200 % display scale; and the start page and Windows hint
// of Windows 10 in its own configuration; each to FOLDER\wizard-*.bmp. PROGRAM is
// cardmend.exe, whose version resource the pictures show. 'make test' turns them into
// build/wizard-*.png.
#include <windows.h>

#include <string>

#include "app/branding.h"
#include "app/commandline.h"
#include "app/texts.h"
#include "app/wizard/confirmation.h"
#include "app/wizard/infolinks.h"
#include "app/wizard/mainform.h"
#include "controls/vexdesign.h"
#include "dialogs/vexhint.h"
#include "dialogs/vexmessage.h"
#include "dialogs/vexquestion.h"
#include "sysutil/textconv.h"
#include "tests/bed/knownwindows.h"
#include "tests/bed/screenpicture.h"
#include "tests/bed/scsubsystem.h"
#include "tests/bed/wizardchecks.h"
#include "ui/scaling.h"

namespace {

RECT Union(HWND a, HWND b) {
  RECT ra{}, rb{}, both{};
  GetWindowRect(a, &ra);
  GetWindowRect(b, &rb);
  UnionRect(&both, &ra, &rb);
  return both;
}

// The hint as a click in the middle of the link opens it.
bool HintPicture(TCardmendMainForm& form, TQvLabel& link, const std::string& text,
                 const std::wstring& path) {
  const RECT r = link.LinkRect();
  POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ClientToScreen(link.Handle(), &at);
  TVEXHintForm hint;
  hint.Prepare(text, at, &form, htInformation);
  ShowForPicture(hint.Handle());
  return SaveScreen(Union(form.Handle(), hint.Handle()), path);
}

// The three pages, each to FOLDER\wizard-PAGE`infix`-LANG.bmp.
bool PagePictures(TCardmendMainForm& form, const std::wstring& folder, const std::wstring& infix) {
  const std::wstring lang = LanguageEnglish ? L"-en.bmp" : L"-de.bmp";
  bool ok = true;
  const wchar_t* pages[] = {L"start", L"progress", L"finish"};
  form.BuildLaterPages();
  form.ProgressBar->SetPosition(10);
  form.ProgressLabel->SetText(LangText(sSettingParameters));
  // Shown first: its activation opens the start page.
  ShowForPicture(form.Handle());
  for (int page = 2; page >= 0; --page) {
    form.Notebook1.SetPageIndex(page);
    ShowForPicture(form.Handle());
    RECT r{};
    GetWindowRect(form.Handle(), &r);
    ok &= SaveScreen(r, folder + L"wizard-" + pages[page] + infix + lang);
  }
  return ok;
}

// Pages, hints, question and usage, each to FOLDER\wizard-KIND`infix`-LANG.bmp.
bool Pictures(const std::wstring& folder, const std::string& program, const std::wstring& infix) {
  const std::wstring lang = infix + (LanguageEnglish ? L"-en.bmp" : L"-de.bmp");
  TCardmendMainForm form;
  AwaitChecks(form);
  BrandVersion(program);
  form.ApplyLanguage();
  bool ok = PagePictures(form, folder, infix);
  ok &= HintPicture(form, *form.WinInfoLabel, WindowsHintText(), folder + L"wizard-hint-windows" + lang);
  ok &= HintPicture(form, *form.AdminInfoLabel, AdminHintText(), folder + L"wizard-hint-admin" + lang);
  ok &= HintPicture(form, *form.PCSCInfoLabel, PCSCHintText(), folder + L"wizard-hint-pcsc" + lang);
  TVEXQuestionForm question;
  question.Prepare(RepairConfirmation(&form));
  question.NeinKnopf().SetDefault(true);
  ShowForPicture(question.Handle());
  ok &= SaveScreen(Union(form.Handle(), question.Handle()), folder + L"wizard-question" + lang);
  question.SetVisible(false);
  form.SetVisible(false);
  TVEXMessageForm usage;
  usage.Prepare(UsageText(), diError, false, {}, nullptr);
  ShowForPicture(usage.Handle());
  RECT r{};
  GetWindowRect(usage.Handle(), &r);
  ok &= SaveScreen(r, folder + L"wizard-usage" + lang);
  return ok;
}

// The start page, the Windows hint and the PC/SC hint as Windows 10 shows them with its own configuration of
// the resource manager, stopped while no reader is attached: wizard-*-win10-*.bmp.
bool Windows10Pictures(const std::wstring& folder, const std::string& program) {
  const std::wstring lang = LanguageEnglish ? L"-win10-en.bmp" : L"-win10-de.bmp";
  const TSubsystemScope state(TSubsystemState::WindowsDefault);
  const TWindowsVersionOverride as(KnownWindows(TKnownWindows::Win10x64));
  TCardmendMainForm form;
  AwaitChecks(form);
  BrandVersion(program);
  form.ApplyLanguage();
  ShowForPicture(form.Handle());
  RECT r{};
  GetWindowRect(form.Handle(), &r);
  bool ok = SaveScreen(r, folder + L"wizard-start" + lang);
  ok &= HintPicture(form, *form.WinInfoLabel, WindowsHintText(), folder + L"wizard-hint-windows" + lang);
  ok &= HintPicture(form, *form.PCSCInfoLabel, PCSCHintText(true), folder + L"wizard-hint-pcsc" + lang);
  return ok;
}

// The same at 125, 150 and 200 % display scale: wizard-KIND-DPI-LANG.bmp.
bool ScaledPictures(const std::wstring& folder, const std::string& program) {
  bool ok = true;
  for (const int dpi : {120, 144, 192}) {
    const TDpiOverride scale(dpi);
    DesignScaleChanged();
    ok &= Pictures(folder, program, L"-" + std::to_wstring(dpi));
  }
  DesignScaleChanged();
  return ok;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 2;
  const std::wstring folder = std::wstring(argv[1]) + L"\\";
  DesignStart();
  bool ok = true;
  for (const bool english : {true, false}) {
    LanguageEnglish = english;
    ok &= Pictures(folder, Narrow(argv[2]), L"");
    ok &= Windows10Pictures(folder, Narrow(argv[2]));
    ok &= ScaledPictures(folder, Narrow(argv[2]));
  }
  DesignEnd();
  return ok ? 0 : 1;
}
