// The wizard as a user meets it: the real cardmend.exe, driven from outside through its
// windows, the way the keyboard and a second start reach it.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "sysutil/scopeexit.h"
#include "sysutil/system.h"
#include "tests/bed/controlpictures.h"
#include "tests/bed/echorecord.h"
#include "tests/bed/endsession.h"
#include "tests/bed/files.h"
#include "tests/bed/programs.h"
#include "tests/bed/registryfixture.h"
#include "tests/bed/runningwizard.h"
#include "tests/bed/scopedenv.h"
#include "tests/bed/scratch.h"
#include "tests/bed/screenpicture.h"
#include "tests/bed/scsubsystem.h"
#include "tests/bed/testbed.h"
#include "tests/bed/testwindow.h"
#include "tests/bed/wizardchecks.h"

namespace {

TEST(Wizard, OpensOnTheStartPageWithItsFixedFrame) {
  TRunningWizard wizard;
  ASSERT_NE(wizard.Window(), nullptr);
  ASSERT_TRUE(wizard.WaitReady());
  EXPECT_TRUE(wizard.PageShown(L"Start"));
  EXPECT_FALSE(wizard.PageShown(L"Progress"));
  RECT client{};
  GetClientRect(wizard.Window(), &client);
  EXPECT_EQ(client.right, 470);
  EXPECT_EQ(client.bottom, 311);
  const LONG style = GetWindowLongW(wizard.Window(), GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  wchar_t caption[64];
  GetWindowTextW(wizard.Window(), caption, 64);
  EXPECT_STREQ(caption, L" Cardmend");
}

// A resource manager stuck starting holds WINSCARD's callers for seconds: the window comes
// at once, answers while the status is found out, and closes without waiting for it.
TEST(Wizard, AppearsAndAnswersWhileWinscardBlocks) {
  const TSubsystemScope subsystem(TSubsystemState::Healthy);
  SetWinSCardDelay(4000);
  const TScopeExit unblock([] { SetWinSCardDelay(0); });
  const DWORD start = GetTickCount();
  TRunningWizard wizard;
  ASSERT_NE(wizard.Window(), nullptr);
  ASSERT_TRUE(wizard.WaitReady());
  // Waiting for the status first, it would have shown after two of the calls' 4 seconds.
  EXPECT_LT(GetTickCount() - start, 4000u);
  for (int i = 0; i < 3; ++i) {
    DWORD_PTR result = 0;
    EXPECT_NE(SendMessageTimeoutW(wizard.Window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result), 0)
        << "asked " << i;
    Sleep(300);
  }
  PostMessageW(wizard.Window(), WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForExit(wizard.Program().Process, 2000), 0u);
}

TEST(Wizard, SecondCopyRestoresTheFirstAndLeavesWithoutAWindow) {
  TRunningWizard first;
  ASSERT_TRUE(first.WaitReady());
  ShowWindow(first.Window(), SW_MINIMIZE);
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(first.Window()) != FALSE; }, 5000));
  // Another program has the user's attention meanwhile.
  TTestWindow other;
  ShowWindow(other.Handle(), SW_SHOW);
  SetForegroundWindow(other.Handle());
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == other.Handle(); }, 5000));

  TStartedProgram second = StartProgram(BuildDir() + L"cardmend.exe");
  ASSERT_TRUE(second.Process);
  EXPECT_EQ(WaitForExit(second.Process, 10000), 0u);
  EXPECT_EQ(WaitForWindow(second.ProcessId, FormClass, 0), nullptr);
  EXPECT_EQ(CountWindows(FormClass), 1);

  EXPECT_TRUE(WaitUntil([&] { return !IsIconic(first.Window()); }, 5000));
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == first.Window(); }, 5000));
}

// A stopped resource manager: the run needs no confirmation and repairs it.
TEST(Wizard, EnterOnTheStartPageRunsThroughProgressToFinish) {
  const TSubsystemScope subsystem(TSubsystemState::ServiceStopped);
  TRunningWizard wizard;
  ASSERT_TRUE(wizard.WaitReady());
  wizard.Press(VK_RETURN);
  EXPECT_TRUE(WaitUntil([&] { return wizard.PageShown(L"Progress"); }, 5000));
  EXPECT_TRUE(WaitUntil([&] { return wizard.PageShown(L"Finish"); }, 30000));
  EXPECT_FALSE(wizard.PageShown(L"Start"));
}

TEST(Wizard, EscapeOnTheStartPageCancels) {
  TRunningWizard wizard;
  ASSERT_TRUE(wizard.WaitReady());
  wizard.Press(VK_ESCAPE);
  EXPECT_TRUE(wizard.Exited(5000));
}

TEST(Wizard, EnterAndEscapeOnTheProgressPageDoNothing) {
  const TSubsystemScope subsystem(TSubsystemState::ServiceStopped);
  TRunningWizard wizard;
  ASSERT_TRUE(wizard.WaitReady());
  wizard.Press(VK_RETURN);
  ASSERT_TRUE(WaitUntil([&] { return wizard.PageShown(L"Progress"); }, 5000));
  wizard.Press(VK_ESCAPE);
  wizard.Press(VK_RETURN);
  ASSERT_TRUE(WaitUntil([&] { return wizard.PageShown(L"Finish"); }, 30000));
  // Neither key cancelled the run nor finished the wizard behind it.
  EXPECT_FALSE(wizard.Exited(500));
  EXPECT_TRUE(wizard.PageShown(L"Finish"));
}

// Runs the wizard to its finish page, picks one of the two choices and presses Enter.
// The watcher stands for the user's other programs: it refuses to end the session, so a
// restart that asks first is called off and the test bed lives on.
int FinishQueries(const wchar_t* choice) {
  TEndSessionWatcher watcher(/*refuse=*/true);
  const TSubsystemScope subsystem(TSubsystemState::ServiceStopped);
  TRunningWizard wizard;
  EXPECT_TRUE(wizard.WaitReady());
  wizard.Press(VK_RETURN);
  EXPECT_TRUE(WaitUntil([&] { return wizard.PageShown(L"Finish"); }, 30000));
  HWND finish = FindWindowExW(FindWindowExW(wizard.Window(), nullptr, L"TNotebook", nullptr),
                              nullptr, L"TPanel", L"Finish");
  HWND radio = FindChildByText(finish, choice);
  EXPECT_NE(radio, nullptr);
  SendMessageW(radio, BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessageW(radio, BM_GETCHECK, 0, 0), BST_CHECKED);
  wizard.Press(VK_RETURN);
  for (int i = 0; i < 50 && !wizard.Exited(0); ++i) watcher.Pump(100);
  EXPECT_TRUE(wizard.Exited(0));
  watcher.Pump(2000);
  return watcher.Queries();
}

TEST(Wizard, FinishWithRestartLaterClosesWithoutRestarting) {
  EXPECT_EQ(FinishQueries(L"No, the computer will be restarted later."), 0);
}

// The restart asks the other programs first instead of closing them by force.
TEST(Wizard, FinishWithRestartNowAsksTheOtherProgramsFirst) {
  EXPECT_GE(FinishQueries(L"Yes, restart the computer now."), 1);
}

// Ctrl held on the keyboard while Enter starts the run: the trace reaches the viewer
// registered for ".txt" and stays on disk while the program runs (a viewer may open it
// late), and goes when the program ends. The window answers all along.
TEST(Wizard, CtrlAndEnterRepairAndShowTheTraceWhileTheWindowStaysResponsive) {
  const TSubsystemScope subsystem(TSubsystemState::ServiceStopped);
  const TEchoViewer viewer;
  const std::wstring temp = viewer.Temp(), record = viewer.Record(), copy = viewer.Copy();

  TRunningWizard wizard;
  ASSERT_TRUE(wizard.WaitReady());
  // Ctrl stays down until the run has begun, as the user holds it.
  wizard.PressEnterHoldingCtrl();
  EXPECT_TRUE(WaitUntil([&] { return wizard.PageShown(L"Progress"); }, 10000));
  wizard.ReleaseCtrl();
  DWORD slowest = 0;
  const DWORD start = GetTickCount();
  while (!wizard.PageShown(L"Finish") && GetTickCount() - start < 60000) {
    const DWORD sent = GetTickCount();
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(wizard.Window(), WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer);
    slowest = std::max(slowest, GetTickCount() - sent);
    Sleep(30);
  }
  ASSERT_TRUE(wizard.PageShown(L"Finish"));
  EXPECT_LT(slowest, 100u);

  ASSERT_TRUE(WaitForEcho(record, 10000));
  const std::string trace = ReadFileBytes(copy).value_or("");
  EXPECT_EQ(trace.substr(12, 2 + 2), "  \r\n");  // a bare time stamp first
  EXPECT_NE(trace.find("  *************** Cardmend ***************\r\n"), std::string::npos);
  EXPECT_NE(trace.find("  PC/SC service exists\r\n"), std::string::npos);
  EXPECT_NE(trace.find("  Reinstalling PC/SC service\r\n"), std::string::npos);
  const std::wstring file = temp + L"\\RMDIAG.txt";
  Sleep(500);
  EXPECT_EQ(ReadFileBytes(file), trace);

  HWND later = FindChildByText(wizard.Window(), L"No, the computer will be restarted later.");
  SendMessageW(later, BM_CLICK, 0, 0);
  wizard.Press(VK_RETURN);
  EXPECT_TRUE(wizard.Exited(10000));
  EXPECT_FALSE(FileExists(file));
}

// 'make test' runs this once more under a German (Austria) and a French user locale;
// CARDMEND_TEST_LANGID names the locale meant, so one that did not take cannot pass.
TEST(Locale, TheWizardStartsInTheLanguageOfTheUsersLocale) {
  const std::string meant = GetEnvVar("CARDMEND_TEST_LANGID");
  if (!meant.empty()) {
    ASSERT_EQ(GetUserDefaultLangID(), std::stoul(meant, nullptr, 16));
  }
  const bool german = PRIMARYLANGID(GetUserDefaultLangID()) == LANG_GERMAN;
  TRunningWizard wizard;
  ASSERT_TRUE(wizard.WaitReady());
  EXPECT_NE(FindChildByText(wizard.Window(), german ? L"&Starten" : L"&Begin"), nullptr);
  EXPECT_EQ(FindChildByText(wizard.Window(), german ? L"&Begin" : L"&Starten"), nullptr);
}

// Run in a prefix whose display reads CARDMEND_TEST_DPI (tests/bed/at-display-scale.sh):
// the real program lays its window out at that scale, and a picture of it is kept as
// display-wizard-DPI.bmp in the build folder.
TEST(DisplayScale, TheWizardIsLaidOutAtTheScaleOfItsDisplay) {
  const std::string dpiText = GetEnvVar("CARDMEND_TEST_DPI");
  if (dpiText.empty()) GTEST_SKIP() << "needs a prefix of its own: at-display-scale.sh";
  const int dpi = std::stoi(dpiText);
  const HDC screen = GetDC(nullptr);
  ASSERT_EQ(GetDeviceCaps(screen, LOGPIXELSY), dpi);
  ReleaseDC(nullptr, screen);
  TRunningWizard wizard;
  ASSERT_TRUE(wizard.WaitReady());
  RECT client{};
  GetClientRect(wizard.Window(), &client);
  EXPECT_EQ(client.right, MulDiv(470, dpi, 96));
  EXPECT_EQ(client.bottom, MulDiv(311, dpi, 96));
  ShowForPicture(wizard.Window());
  RECT window{};
  GetWindowRect(wizard.Window(), &window);
  EXPECT_TRUE(SaveScreen(window, BuildDir() + L"display-wizard-" + std::to_wstring(dpi) + L".bmp"));
}

}  // namespace
