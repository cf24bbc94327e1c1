// The repair run behind Start, in this process against the test prefix's smart-card
// subsystem. The prefix is Wine's 64-bit Windows 7 SP1: the Vista family on 64-bit Windows,
// where the run starts no `net` and stops early only after the reinstall.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/repair/pcsc.h"
#include "app/repair/registrycheck.h"
#include "app/texts.h"
#include "app/wizard/mainform.h"
#include "controls/vexdesign.h"
#include "dialogs/vexmessage.h"
#include "dialogs/vexquestion.h"
#include "sysutil/registryfault.h"
#include "sysutil/security.h"
#include "sysutil/windowsversion.h"
#include "tests/bed/controlpictures.h"
#include "tests/bed/echorecord.h"
#include "tests/bed/knownwindows.h"
#include "tests/bed/scsubsystem.h"
#include "tests/bed/uitest.h"
#include "tests/bed/wizardchecks.h"

namespace {

class RepairRun : public ::testing::Test {
 protected:
  void SetUp() override {
    DesignStart();
    LanguageEnglish = true;
  }
  void TearDown() override { DesignEnd(); }
};

// The texts of the progress steps, in order.
struct TRecordedRun {
  std::vector<std::string> Steps;
  std::vector<std::string> Log;  // without the time stamps

  size_t Completing() const {
    return static_cast<size_t>(std::count(Steps.begin(), Steps.end(), LangText(sCompleting)));
  }
  bool Logged(const std::string& text) const {
    return std::find(Log.begin(), Log.end(), text) != Log.end();
  }
};

TRecordedRun RecordRun(TCardmendMainForm& form, const std::function<void()>& start) {
  TRecordedRun run;
  form.OnProgressStep = [&](const std::string& text, DWORD) { run.Steps.push_back(text); };
  start();
  for (const std::string& line : form.Trace().Lines()) run.Log.push_back(line.substr(14));
  form.OnProgressStep = nullptr;
  return run;
}

bool OnPage(TCardmendMainForm& form, int page) { return form.Notebook1.PageIndex() == page; }

// Each state of the subsystem: the run ends on the finish page with the bar filled by the
// end's own steps, the registry verifies clean afterwards, and after a restart of Windows
// the layer answers. Where the subsystem is in order on this Windows already (a group only
// the 32-bit XP SP2 needs, a companion service this Windows does without, the manual start
// Windows 7 gives the service itself while no reader is attached), the question comes and
// "Yes" runs every stage. A missing Readers key counts as working too: the verification
// before the question creates it again.
TEST_F(RepairRun, EveryStateEndsRepairedOnTheFinishPage) {
  struct TCase {
    TSubsystemState State;
    bool Asked;
  };
  const TCase cases[] = {
      {TSubsystemState::ServiceStopped, false},  {TSubsystemState::StartManual, true},
      {TSubsystemState::StartDisabled, false},   {TSubsystemState::ObjectNameWrong, false},
      {TSubsystemState::ObjectNameMissing, false}, {TSubsystemState::GroupMissing, true},
      {TSubsystemState::CalaisDenied, false},    {TSubsystemState::CalaisNoAccess, false},
      {TSubsystemState::ReadersMissing, true},   {TSubsystemState::ServiceMissing, false},
      {TSubsystemState::SCardDrvPresent, true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(SubsystemStateName(c.State));
    const TSubsystemScope scope(c.State);
    TCardmendMainForm form;
    ShowActive(form);
    bool asked = false;
    TWhenShown answer(L"TVEXQuestionForm", [&](HWND question) {
      asked = true;
      PostMessageW(question, WM_KEYDOWN, 'Y', 1);
    });
    const TRecordedRun run = RecordRun(form, [&] { form.StartKnopfClick(); });
    EXPECT_EQ(asked, c.Asked);
    EXPECT_TRUE(OnPage(form, TCardmendMainForm::FinishPage));
    ASSERT_GE(run.Log.size(), 4u);
    EXPECT_EQ(run.Log[0], "");
    EXPECT_EQ(run.Log[1], "*************** Cardmend ***************");
    const bool missing = c.State == TSubsystemState::ServiceMissing;
    EXPECT_TRUE(run.Logged(missing ? "PC/SC service does not exist" : "PC/SC service exists"));
    // The stages make at most 23 steps; the end fills the bar to 24 with its own.
    const size_t stages = run.Steps.size() - run.Completing();
    EXPECT_EQ(run.Steps.size(), 24u);
    EXPECT_EQ(run.Steps.front(), LangText(missing ? sAdjustingRights : sSettingParameters));
    // 64-bit Vista and later: no service command, so no early stop before the reinstall;
    // a confirmed run makes every stage's steps.
    EXPECT_FALSE(run.Logged("Stopping PC/SC service..."));
    if (missing) {
      EXPECT_EQ(stages, 7u);
    } else if (c.Asked) {
      EXPECT_EQ(stages, 6u + 3u + 5u + 7u);
    } else {
      EXPECT_GE(stages, 6u + 3u + 5u);
    }
    EXPECT_EQ(form.ProgressBar->Position(), 0);

    TDiagnosticLog verification;
    EXPECT_EQ(VerifyRegistry(verification), 0);
    SimulateRestart();
    EXPECT_TRUE(LayerWorks());
  }
}

// On 64-bit Vista and later nothing starts the service during the run: a stopped one goes
// through every stage, and the full repair says it starts the service without doing so.
TEST_F(RepairRun, OnVista64AStoppedServiceGoesThroughEveryStageWithoutAServiceCommand) {
  const TSubsystemScope scope(TSubsystemState::ServiceStopped);
  TCardmendMainForm form;
  ShowActive(form);
  const TRecordedRun run = RecordRun(form, [&] { form.StartKnopfClick(); });
  const std::vector<std::string> expected = {
      // light repair
      LangText(sSettingParameters), LangText(sConfiguring), LangText(sConfiguring),
      LangText(sStopping), LangText(sLaunching), LangText(sVerifying),
      // permissions
      LangText(sAdjustingRights), LangText(sLaunching), LangText(sVerifying),
      // reinstall, without the registration this Windows does not have
      LangText(sReinstalling), LangText(sConfiguring), LangText(sConfiguring),
      LangText(sSettingParameters), LangText(sVerifying),
      // full repair
      LangText(sAdjustingRights), LangText(sReinstalling), LangText(sConfiguring),
      LangText(sConfiguring), LangText(sSettingParameters), LangText(sSettingParameters),
      LangText(sLaunching)};
  ASSERT_EQ(run.Steps.size(), 24u);
  EXPECT_EQ(std::vector<std::string>(run.Steps.begin(), run.Steps.begin() + 21), expected);
  EXPECT_EQ(run.Completing(), 3u);
  EXPECT_FALSE(run.Logged("Stopping PC/SC service..."));
  EXPECT_EQ(std::count(run.Log.begin(), run.Log.end(), "Starting PC/SC service..."), 1);
  EXPECT_EQ(std::count(run.Log.begin(), run.Log.end(), "PC/SC service is not running"), 2);
  EXPECT_FALSE(SCardSvrRunning());
}

// Where `net` runs, the light repair's restart brings a stopped service back, and the run
// ends after its six steps; the end fills the bar to 24.
TEST_F(RepairRun, OnXPTheLightRepairRestartsAStoppedServiceAndTheRunEndsAfterSixSteps) {
  const TSubsystemScope scope(TSubsystemState::ServiceStopped);
  const TWindowsVersionOverride xp(KnownWindows(TKnownWindows::XPSP3));
  TCardmendMainForm form;
  ShowActive(form);
  const TRecordedRun run = RecordRun(form, [&] { form.StartKnopfClick(); });
  EXPECT_EQ(run.Steps.size() - run.Completing(), 6u);
  EXPECT_EQ(run.Completing(), 18u);
  EXPECT_TRUE(run.Logged("Stopping PC/SC service..."));
  EXPECT_TRUE(SCardSvrRunning());
}

// A working system, and "No" to the question: nothing of the keys changes, the start page
// stays and no trace is shown, even with Ctrl held.
TEST_F(RepairRun, NoToTheQuestionLeavesAWorkingSystemExactlyAsItWas) {
  const TSubsystemScope scope(TSubsystemState::Healthy);
  const std::string before = SubsystemExport();
  TCardmendMainForm form;
  form.Show();
  PumpFor(100);
  int asked = 0;
  TWhenShown answer(L"TVEXQuestionForm", [&](HWND question) {
    ++asked;
    EXPECT_TRUE(VEXQuestion().Form()->NeinKnopf().Focused());
    PostMessageW(question, WM_KEYDOWN, VK_RETURN, 1);  // on "No"
  });
  TypeKeys({{VK_CONTROL, true}});
  const TRecordedRun run = RecordRun(form, [&] { form.StartKnopfClick(); });
  TypeKeys({{VK_CONTROL, false}});
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(run.Steps.empty());
  EXPECT_TRUE(OnPage(form, TCardmendMainForm::StartPage));
  EXPECT_EQ(SubsystemExport(), before);
}

// Ctrl opens the trace after a run only while it is held at Start: pressed and let go
// before (a Ctrl+C earlier), it opens nothing.
TEST_F(RepairRun, CtrlLetGoBeforeStartOpensNoTrace) {
  const TSubsystemScope scope(TSubsystemState::ServiceStopped);
  const TEchoViewer viewer;
  TCardmendMainForm form;
  ShowActive(form);
  TypeKeys({{VK_CONTROL, true}, {'C', true}, {'C', false}, {VK_CONTROL, false}});
  PumpFor(200);
  form.StartKnopfClick();
  EXPECT_TRUE(OnPage(form, TCardmendMainForm::FinishPage));
  EXPECT_FALSE(WaitForEcho(viewer.Record(), 2000));
}

// Windows 98, and a user without administrator rights: the message says why, in the
// selected language, and nothing else happens.
TEST_F(RepairRun, ARefusedStartShowsItsMessageAndChangesNothing) {
  const TSubsystemScope scope(TSubsystemState::ServiceStopped);
  for (const bool win98 : {true, false}) {
    SCOPED_TRACE(win98 ? "Windows 98" : "no administrator");
    const std::string before = SubsystemExport();
    std::optional<TWindowsVersionOverride> as;
    std::optional<TWithoutAdministrators> user;
    if (win98) {
      as.emplace(KnownWindows(TKnownWindows::Win98SE));
    } else {
      user.emplace();
      ASSERT_TRUE(user->Active());
      ASSERT_FALSE(IsUserAdmin());
    }
    TCardmendMainForm form;
    ShowActive(form);
    std::string shown;
    TWhenShown answer(L"TVEXMessageForm", [&](HWND dialog) {
      shown = VEXMessage().Form()->Line(0).Caption();
      PostMessageW(dialog, WM_KEYDOWN, VK_RETURN, 1);
    });
    const TRecordedRun run = RecordRun(form, [&] { form.StartKnopfClick(); });
    const std::string expected = LangText(win98 ? sNeedsWin2000 : sNeedsAdmin);
    EXPECT_EQ(shown, expected.substr(0, expected.find('|')));
    EXPECT_TRUE(OnPage(form, TCardmendMainForm::StartPage));
    EXPECT_TRUE(run.Steps.empty());
    EXPECT_TRUE(run.Log.empty());
    user.reset();
    as.reset();
    EXPECT_EQ(SubsystemExport(), before);
  }
}

// A stage that throws still ends on the finish page; the exception then reaches the
// application's handler and the program goes on: after a click, and after Enter, which the
// form takes before any control.
TEST_F(RepairRun, AnExceptionInAStageReachesTheFinishPageThenTheHandler) {
  for (const bool byEnter : {false, true}) {
    SCOPED_TRACE(byEnter ? "Enter" : "click");
    const TSubsystemScope scope(TSubsystemState::ServiceStopped);
    TCardmendMainForm form;
    form.Show();
    SetForegroundWindow(form.Handle());
    PumpFor(200);
    const TRegistryFaultScope fault([](TRegistryCall call, std::string_view name) -> LONG {
      if (call == TRegistryCall::Write && name == "ObjectName")
        throw std::runtime_error("the registry broke down");
      return ERROR_SUCCESS;
    });
    TMessageBoxCloser closer;
    if (byEnter) {
      PressKey(form.StartKnopf->Handle(), VK_RETURN);
    } else {
      PointerTo(*form.StartKnopf, 50, 12);
      ClickPointer();
    }
    PumpFor(500);
    EXPECT_TRUE(OnPage(form, TCardmendMainForm::FinishPage));
    EXPECT_EQ(closer.Shown, std::vector<std::wstring>{L"the registry broke down"});
    EXPECT_TRUE(IsWindow(form.Handle()));
  }
}

}  // namespace
