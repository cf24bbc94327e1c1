// The wizard window made in this process, so that its window-less labels can be read too:
// every control where the layout puts it, the texts in both languages and the link that
// switches them, the branding, the web address and the three information links, driven
// with the real pointer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/branding.h"
#include "app/secondcopy.h"
#include "app/singleinstance.h"
#include "app/texts.h"
#include "app/wizard/infolinks.h"
#include "app/wizard/mainform.h"
#include "controls/vexdesign.h"
#include "dialogs/htmlhelp.h"
#include "dialogs/vexhint.h"
#include "dialogs/vexmessage.h"
#include "sysutil/textconv.h"
#include "sysutil/windowsversion.h"
#include "tests/bed/controlpictures.h"
#include "tests/bed/registryfixture.h"
#include "tests/bed/testbed.h"
#include "tests/bed/uitest.h"
#include "tests/bed/wizardchecks.h"
#include "ui/screencursor.h"

namespace {

class WizardWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    DesignStart();
    LanguageEnglish = true;
  }
  void TearDown() override {
    LanguageEnglish = true;
    DesignEnd();
  }
};

struct TPlace {
  const char* Name;
  const void* Parent;
  const void* ExpectedParent;
  RECT Actual;  // left, top, width, height
  int Left, Top, Width, Height;  // -1: the control's own size
};

template <typename C>
RECT Bounds(const C& control) {
  return {control.Left(), control.Top(), control.Width(), control.Height()};
}

template <typename C>
TPlace Place(const char* name, const C* control, const void* parent, int left, int top,
             int width = -1, int height = -1) {
  return {name, control->Parent(), parent, Bounds(*control), left, top, width, height};
}

TEST_F(WizardWindow, EveryControlSitsWhereTheLayoutPutsIt) {
  TCardmendMainForm f;
  ASSERT_TRUE(AwaitChecks(f));  // the status line is empty until then
  f.BuildLaterPages();
  TWindow& start = f.Notebook1.Page(TCardmendMainForm::StartPage);
  TWindow& progress = f.Notebook1.Page(TCardmendMainForm::ProgressPage);
  TWindow& finish = f.Notebook1.Page(TCardmendMainForm::FinishPage);
  const TPlace places[] = {
      Place("Notebook1", &f.Notebook1, &f, 0, 0, 470, 311),
      Place("Panel2", f.Panel2, &start, 12, 12, 445, 234),
      Place("Panel5", f.Panel5, &start, 12, 258, 445, 41),
      Place("Panel7", f.Panel7, &progress, 12, 12, 445, 234),
      Place("Panel10", f.Panel10, &finish, 12, 12, 445, 234),
      Place("WelcomeLabel", f.WelcomeLabel, f.Panel2, 12, 8),
      Place("Label0_1", f.Label0_1, f.Panel2, 28, 24, 400, 33),
      Place("RequirementsLabel", f.RequirementsLabel, f.Panel2, 12, 60),
      Place("WinImage", f.WinImage, f.Panel2, 28, 75, 16, 16),
      Place("Label0_2", f.Label0_2, f.Panel2, 48, 76),
      Place("AdminImage", f.AdminImage, f.Panel2, 28, 93, 16, 16),
      Place("Label0_3", f.Label0_3, f.Panel2, 48, 94),
      Place("StatusLabel", f.StatusLabel, f.Panel2, 12, 120),
      Place("PCSCImage", f.PCSCImage, f.Panel2, 28, 135, 16, 16),
      Place("LabelPCSC", f.LabelPCSC, f.Panel2, 48, 136),
      Place("AboutLabel", f.AboutLabel, f.Panel2, 12, 162),
      Place("VersionsLabel", f.VersionsLabel, f.Panel2, 28, 178, 333, 14),
      Place("CopyrightLabel", f.CopyrightLabel, f.Panel2, 28, 192, 333, 14),
      Place("WebLabel", f.WebLabel, f.Panel2, 28, 206),
      Place("LangImage", f.LangImage, f.Panel5, 12, 12, 16, 16),
      Place("LangLabel", f.LangLabel, f.Panel5, 32, 13),
      Place("StartKnopf", f.StartKnopf, f.Panel5, 227, 7, 100, 25),
      Place("AbbruchKnopf", f.AbbruchKnopf, f.Panel5, 335, 7, 100, 25),
      Place("ProgressGroupBox", f.ProgressGroupBox, f.Panel7, 12, 8, 419, 212),
      Place("Label1_1", f.Label1_1, f.ProgressGroupBox, 12, 24, 394, 33),
      Place("Label1_2", f.Label1_2, f.ProgressGroupBox, 12, 64, 394, 49),
      Place("ProgressBar", f.ProgressBar, f.ProgressGroupBox, 12, 120, 394, 16),
      Place("ProgressLabel", f.ProgressLabel, f.ProgressGroupBox, 12, 152, 394, 36),
      Place("BeendenGroupBox", f.BeendenGroupBox, f.Panel10, 12, 8, 419, 212),
      Place("Label2_0", f.Label2_0, f.BeendenGroupBox, 12, 24, 394, 14),
      Place("Label2_1", f.Label2_1, f.BeendenGroupBox, 12, 48, 394, 33),
      Place("rbRestart", f.rbRestart, f.BeendenGroupBox, 56, 92, 350, 16),
      Place("rbLater", f.rbLater, f.BeendenGroupBox, 56, 110, 350, 16),
      Place("Label2_2", f.Label2_2, f.BeendenGroupBox, 12, 144, 394, 33),
  };
  for (const TPlace& p : places) {
    SCOPED_TRACE(p.Name);
    EXPECT_EQ(p.Parent, p.ExpectedParent);
    EXPECT_EQ(p.Actual.left, p.Left);
    EXPECT_EQ(p.Actual.top, p.Top);
    if (p.Width >= 0) {
      EXPECT_EQ(p.Actual.right, p.Width);
    }
    if (p.Height >= 0) {
      EXPECT_EQ(p.Actual.bottom, p.Height);
    }
    EXPECT_GT(p.Actual.right, 0);
    EXPECT_GT(p.Actual.bottom, 0);
  }
  // The finish button stands where Cancel stands on the start page.
  EXPECT_EQ(f.FertigstellenKnopf->Left(), 335);
  EXPECT_EQ(f.FertigstellenKnopf->Width(), 100);

  // The information links end 12 pixels inside the upper box, one above the other, each
  // on the line of its requirement.
  const int right = f.Panel2->ClientRect().right - 12;
  EXPECT_EQ(f.WinInfoLabel->Left() + f.WinInfoLabel->Width(), right);
  const TQvLabel* links[] = {f.WinInfoLabel, f.AdminInfoLabel, f.PCSCInfoLabel};
  const int tops[] = {76, 94, 136};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(links[i]->Parent(), f.Panel2);
    EXPECT_EQ(links[i]->Left(), f.WinInfoLabel->Left());
    EXPECT_EQ(links[i]->Top(), tops[i]);
  }
  EXPECT_TRUE(f.rbRestart->Checked());
  EXPECT_EQ(f.ProgressBar->Max(), 25);
}

// Every caption of the window, in one list, to compare whole states.
std::vector<std::string> Captions(TCardmendMainForm& f) {
  return {f.StartKnopf->Text(), f.AbbruchKnopf->Text(), f.FertigstellenKnopf->Text(),
          f.ProgressGroupBox->Text(), f.BeendenGroupBox->Text(), f.rbRestart->Text(),
          f.rbLater->Text(), f.WelcomeLabel->Text(), f.RequirementsLabel->Text(),
          f.StatusLabel->Text(), f.AboutLabel->Text(), f.Label0_1->Text(), f.Label0_2->Text(),
          f.Label0_3->Text(), f.LabelPCSC->Text(), f.VersionsLabel->Text(),
          f.CopyrightLabel->Text(), f.Label1_1->Text(), f.Label1_2->Text(), f.Label2_0->Text(),
          f.Label2_1->Text(), f.Label2_2->Text(), f.WinInfoLabel->Caption(),
          f.AdminInfoLabel->Caption(), f.PCSCInfoLabel->Caption(), f.WebLabel->Caption(),
          f.LangLabel->Caption()};
}

bool SamePicture(const TBitmap& a, const TBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height() || a.Empty() || b.Empty()) return false;
  return std::equal(a.Bits(), a.Bits() + a.Width() * a.Height(), b.Bits());
}

TBitmap ListPicture(const TImageList& list, int index) {
  TBitmap picture;
  list.GetBitmap(index, picture);
  return picture;
}

void ClickLink(TQvLabel& label) {
  const RECT r = label.LinkRect();
  PointerTo(label, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  PumpFor(100);
  ClickPointer();
  PumpFor(200);
}

TEST_F(WizardWindow, TheLanguageLinkSwitchesEveryCaptionAtOnceAndTwoClicksRestoreThem) {
  LanguageEnglish = false;
  TCardmendMainForm f;
  ShowActive(f);
  ASSERT_TRUE(AwaitChecks(f));
  f.BuildLaterPages();
  const std::vector<std::string> german = Captions(f);
  const TBitmap windowsMark = f.WinImage->Picture().Copy();
  const TBitmap adminMark = f.AdminImage->Picture().Copy();
  EXPECT_EQ(f.StartKnopf->Text(), "&Starten");
  EXPECT_EQ(f.rbLater->Text(), "Nein, Computer wird sp\xC3\xA4ter neu gestartet.");
  EXPECT_EQ(f.AboutLabel->Text(), " \xC3\x9C" "ber");
  EXPECT_EQ(f.WinInfoLabel->Caption(), "<a>weitere Informationen</a>");
  EXPECT_EQ(f.LangLabel->Caption(), "<a>English</a>");
  EXPECT_TRUE(SamePicture(f.LangImage->Picture(), ListPicture(f.LangImageList, 1)));
  // The umlauts reach the window as such, whatever the code page.
  EXPECT_EQ(Widen(f.AboutLabel->Text()), L" \u00DCber");

  ClickLink(*f.LangLabel);
  ASSERT_TRUE(LanguageEnglish);
  EXPECT_EQ(f.StartKnopf->Text(), "&Begin");
  EXPECT_EQ(f.ProgressGroupBox->Text(), " Installation ");
  EXPECT_EQ(f.BeendenGroupBox->Text(), " Finish process ");
  EXPECT_EQ(f.Label2_2->Text(),
            "Remove all disks from their drives, then click \"Finish\" to complete the process.");
  EXPECT_EQ(f.LabelPCSC->Text(), " " + LangText(f.PCSCRunning() ? sRMRunning : sRMNotRunning));
  EXPECT_EQ(f.WinInfoLabel->Caption(), "<a>additional information</a>");
  EXPECT_EQ(f.LangLabel->Caption(), "<a>Deutsch</a>");
  EXPECT_TRUE(SamePicture(f.LangImage->Picture(), ListPicture(f.LangImageList, 0)));
  EXPECT_TRUE(SamePicture(f.WinImage->Picture(), windowsMark));
  EXPECT_TRUE(SamePicture(f.AdminImage->Picture(), adminMark));
  // The longer English link moved left to end where the German one ended.
  EXPECT_EQ(f.WinInfoLabel->Left() + f.WinInfoLabel->Width(), f.Panel2->ClientRect().right - 12);
  EXPECT_EQ(f.PCSCInfoLabel->Left(), f.WinInfoLabel->Left());

  // The flag switches too.
  PointerTo(*f.LangImage, 8, 8);
  ClickPointer();
  PumpFor(200);
  EXPECT_FALSE(LanguageEnglish);
  EXPECT_EQ(Captions(f), german);
  EXPECT_TRUE(SamePicture(f.LangImage->Picture(), ListPicture(f.LangImageList, 1)));
}

TEST(WizardTexts, EveryKeyHasItsRowAndAGermanLocaleAloneStartsInGerman) {
  for (int key = 0; key < TextKeyCount; ++key)
    for (int column = 0; column < 4; ++column)
      EXPECT_FALSE(LangText(static_cast<TTextKey>(key), column).empty()) << key << " " << column;
  EXPECT_EQ(LangText(sYes, 2), "&Oui");
  EXPECT_EQ(LangText(sStart, 3), "&Begin");  // no Spanish text of its own
  struct TLocale {
    LANGID Id;
    bool English;
  };
  const TLocale locales[] = {
      {MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), false},
      {MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN_AUSTRIAN), false},
      {MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN_SWISS), false},
      {MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN_LIECHTENSTEIN), false},
      {MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH), true},
      {MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_UK), true},
      {MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), true},
  };
  for (const TLocale& l : locales) EXPECT_EQ(IsEnglishLocale(l.Id), l.English) << l.Id;
}

TEST_F(WizardWindow, BrandingCaptionTitleAndVersion) {
  DesignProductVersion.clear();
  TCardmendMainForm f;
  EXPECT_EQ(f.Text(), " Cardmend");
  EXPECT_EQ(Application().Title(), " Cardmend");
  // The program file is read after the first paint.
  EXPECT_EQ(f.VersionsLabel->Text(), "");
  ASSERT_TRUE(AwaitChecks(f));
  // This test program carries no version resource.
  EXPECT_EQ(f.VersionsLabel->Text(), "Cardmend V1.2.0.39");
  EXPECT_EQ(f.CopyrightLabel->Text(), "\xC2\xA9 2008-2026, Cardmend Project");

  BrandVersion(Narrow(BuildDir()) + "cardmend.exe");
  EXPECT_EQ(DesignProductName + " " + DesignProductVersion, "Cardmend V1.2.0, Build 40");
}

TEST_F(WizardWindow, TheWebAddressLooksLikeALinkWhileThePointerIsOverIt) {
  TCardmendMainForm f;
  ShowActive(f);
  TQvLabel& web = *f.WebLabel;
  EXPECT_EQ(web.Caption(), "www.cardmend.example/en");
  EXPECT_EQ(web.Font().Color(), DesignLinkColor);
  PointerTo(web, 10, 5);
  PumpFor(100);
  EXPECT_EQ(web.Font().Color(), DesignLinkHotColor);
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));

  // Off the program's windows altogether: no move message reaches it, only the timer sees
  // (the move itself pumps the loop for little more than one tick).
  const RECT client = f.ClientRect();
  PointerTo(f, client.right + 60, client.bottom + 60);
  EXPECT_EQ(web.Font().Color(), DesignLinkColor);
  EXPECT_EQ(ScreenCursor(), nullptr);
}

// A row of the picture that is mostly `color`: an underline.
bool HasUnderline(const TBitmap& picture, COLORREF color) {
  for (int y = 0; y < picture.Height(); ++y) {
    int n = 0;
    for (int x = 0; x < picture.Width(); ++x) n += picture.Pixel(x, y) == color;
    if (n >= picture.Width() * 3 / 4) return true;
  }
  return false;
}

// The links are plain text in the link colour, neither bold nor underlined; under the
// pointer the information links take the theme's hover colour, the language link plain
// blue.
TEST_F(WizardWindow, TheLinksArePlainTextInTheirColours) {
  TCardmendMainForm f;
  ShowActive(f);
  struct TCase {
    const char* Name;
    TQvLabel* Link;
    COLORREF Hover;
  };
  const TCase cases[] = {{"Windows", f.WinInfoLabel, DesignLinkHotColor},
                         {"administrator", f.AdminInfoLabel, DesignLinkHotColor},
                         {"PC/SC", f.PCSCInfoLabel, DesignLinkHotColor},
                         {"language", f.LangLabel, RGB(0, 0, 255)}};
  const RECT client = f.ClientRect();
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    PointerTo(f, client.right + 60, client.bottom + 60);
    PumpFor(100);
    const TBitmap normal = Picture(*c.Link);
    EXPECT_GT(Count(normal, DesignLinkColor), 0);
    EXPECT_EQ(Count(normal, c.Hover), 0);
    EXPECT_FALSE(HasUnderline(normal, DesignLinkColor));

    PointerTo(*c.Link, 3, c.Link->Height() / 2);
    PumpFor(100);
    const TBitmap hovered = Picture(*c.Link);
    EXPECT_GT(Count(hovered, c.Hover), 0);
    EXPECT_EQ(Count(hovered, DesignLinkColor), 0);
    EXPECT_FALSE(HasUnderline(hovered, c.Hover));

    // The same link in bold has more ink: the wizard's is not.
    PointerTo(f, client.right + 60, client.bottom + 60);
    PumpFor(100);
    c.Link->SetLinkStyle(fsBold);
    EXPECT_GT(Count(Picture(*c.Link), DesignLinkColor), Count(normal, DesignLinkColor));
    c.Link->SetLinkStyle(0);
  }
}

TEST_F(WizardWindow, TheHourglassStaysWhileTheBrowserStarts) {
  TCardmendMainForm f;
  ShowActive(f);
  TQvLabel& web = *f.WebLabel;
  const HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
  std::vector<bool> hourglass;
  std::string opened;
  f.WebLink().Open = [&](const std::string& url) {
    opened = url;
    // The user moves over the address and off it while the browser takes its time.
    for (const POINT p : {POINT{10, 5}, POINT{-30, 40}, POINT{12, 6}}) {
      PointerTo(web, p.x, p.y);
      PumpFor(150);
      hourglass.push_back(GetCursor() == wait && ScreenCursor() == wait);
    }
    return 0;
  };
  PointerTo(web, 10, 5);
  ClickPointer();
  PumpFor(100);
  EXPECT_EQ(opened, "www.cardmend.example/en");
  EXPECT_EQ(hourglass, std::vector<bool>(3, true));
  EXPECT_FALSE(f.WebLink().Busy());
  EXPECT_NE(ScreenCursor(), wait);

}

// No program in the prefix opens ".htm" files, and the shell, which reads "www." as an
// http address, knows no program for that either: the message says so, in the language
// the user switched to.
TEST_F(WizardWindow, WithoutABrowserTheMessageSpeaksTheLanguageSwitchedTo) {
  TRegistryFixture registry;
  for (const wchar_t* type : {L".htm", L"http", L"https"})
    registry.RemoveKey(HKEY_CLASSES_ROOT, type);
  TCardmendMainForm f;
  ShowActive(f);
  ClickLink(*f.LangLabel);
  ASSERT_FALSE(LanguageEnglish);
  std::string shown;
  TWhenShown answer(L"TVEXMessageForm", [&](HWND dialog) {
    shown = VEXMessage().Form()->Line(0).Caption();
    PostMessageW(dialog, WM_KEYDOWN, VK_RETURN, 1);
  });
  PointerTo(*f.WebLabel, 10, 5);
  ClickPointer();
  PumpFor(300);
  EXPECT_EQ(shown, "Sie haben keinen Webbrowser installiert!");
  EXPECT_FALSE(f.WebLink().Busy());
  EXPECT_NE(ScreenCursor(), LoadCursorW(nullptr, IDC_WAIT));
}

TEST_F(WizardWindow, EachInformationLinkOpensItsHintAtThePointerAndOnlyOnce) {
  TCardmendMainForm f;
  ShowActive(f);
  struct TLink {
    TQvLabel* Label;
    void (TCardmendMainForm::*Callback)();
    std::string Text;
    std::string FirstLine;
  };
  using F = TCardmendMainForm;
  const TLink links[] = {
      {f.WinInfoLabel, &F::WinInfoLabelLinkCallBack, WindowsHintText(),
       "<b><s9>System requirements"},
      {f.AdminInfoLabel, &F::AdminInfoLabelLinkCallBack, AdminHintText(),
       "<b><s9>Administrator privileges"},
      {f.PCSCInfoLabel, &F::PCSCInfoLabelLinkCallBack, PCSCHintText(),
       "<b><s9>Smart Card Resource Manager"},
  };
  EXPECT_EQ(WindowsHintText().substr(WindowsHintText().rfind('|') + 1),
            "Current Windows version: <#0000FF>" + WindowsVersionName());  // red
  for (const TLink& link : links) {
    SCOPED_TRACE(link.FirstLine);
    std::string first;
    int hints = 0;
    POINT pointer{}, tip{};
    TWhenShown answer(L"TVEXHintForm", [&](HWND hint) {
      TVEXHintForm& form = *VEXHint().Form();
      first = form.Line(0).Caption();
      GetCursorPos(&pointer);
      RECT r{};
      GetWindowRect(hint, &r);
      tip = {r.left + form.TailOffset() + 7, r.bottom};
      (f.*link.Callback)();  // a second click returns at once
      for (HWND h = FindWindowW(L"TVEXHintForm", nullptr); h;
           h = FindWindowExW(nullptr, h, L"TVEXHintForm", nullptr))
        hints += IsWindowVisible(h) ? 1 : 0;
      PostMessageW(hint, WM_KEYDOWN, VK_ESCAPE, 1);
    });
    ClickLink(*link.Label);
    PumpFor(300);
    EXPECT_EQ(first, link.FirstLine);
    EXPECT_EQ(hints, 1);
    EXPECT_EQ(tip.x, pointer.x);
    EXPECT_EQ(tip.y, pointer.y);
    EXPECT_EQ(VEXHint().Form(), nullptr);
    EXPECT_EQ(link.Text.rfind(link.FirstLine + "||", 0), 0u);
  }
}

// The second copy lets the first one's process take the front before it asks it to come.
TEST_F(WizardWindow, ASecondCopyLetsTheFirstComeToTheFrontBeforeItPostsTheRequest) {
  TCardmendMainForm f;
  DWORD allowed = 0;
  bool postedBefore = true;
  HandOverToFirstCopy([&](DWORD processId) {
    allowed = processId;
    MSG msg;
    postedBefore = PeekMessageW(&msg, f.Handle(), RestoreWizardMessage,
                                RestoreWizardMessage, PM_NOREMOVE) != FALSE;
  });
  EXPECT_EQ(allowed, GetCurrentProcessId());
  EXPECT_FALSE(postedBefore);
  MSG msg;
  EXPECT_TRUE(PeekMessageW(&msg, f.Handle(), RestoreWizardMessage,
                           RestoreWizardMessage, PM_REMOVE));
}

}  // namespace

namespace {

// F1 in one of the wizard's dialogs, where the help file could have been planted: the
// refusal is in the trace, and no longer once the wizard is gone.
TEST_F(WizardWindow, ARefusedHelpFileIsInTheTrace) {
  const std::string refusal =
      "Help file not opened: users who are not administrators can change it or its folder (" +
      ApplicationHelpFile() + ")";
  {
    TCardmendMainForm f;
    ShowActive(f);
    TWhenShown press(L"TVEXMessageForm", [](HWND dialog) {
      PostMessageW(dialog, WM_KEYDOWN, VK_F1, 1);
      PostMessageW(dialog, WM_KEYDOWN, VK_RETURN, 1);
    });
    f.ShowErrorMessage("Something went wrong.");
    const auto& lines = f.Trace().Lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back().substr(14), refusal);
  }
  ShowApplicationHelp("");  // with no wizard to hear it
}

}  // namespace
