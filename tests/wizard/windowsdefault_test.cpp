// The wizard on Windows 7 and later as Windows configures the resource manager: stopped
// until a reader is attached. That is in order: a calm mark and its line, the question as
// for a working system, and "No" leaves everything as it was. With a reader attached, the
// stopped service is repaired as ever.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/repair/healthcheck.h"
#include "app/texts.h"
#include "app/wizard/mainform.h"
#include "app/wizard/requirementmarks.h"
#include "controls/vexdesign.h"
#include "sysutil/windowsversion.h"
#include "tests/bed/commandwatch.h"
#include "tests/bed/knownwindows.h"
#include "tests/bed/scsubsystem.h"
#include "tests/bed/uitest.h"
#include "tests/bed/wizardchecks.h"

namespace {

using S = TSubsystemState;
using K = TKnownWindows;

class WindowsDefault : public testing::TestWithParam<K> {
 protected:
  void SetUp() override {
    DesignStart();
    LanguageEnglish = true;
  }
  void TearDown() override { DesignEnd(); }
};

bool OnPage(TCardmendMainForm& form, int page) { return form.Notebook1.PageIndex() == page; }

// Starts the run and answers the question, if one comes, with `key` on its focused button
// or its letter; the number of questions asked.
int StartAnswering(TCardmendMainForm& form, WPARAM key) {
  int asked = 0;
  TWhenShown answer(L"TVEXQuestionForm", [&](HWND question) {
    ++asked;
    PostMessageW(question, WM_KEYDOWN, key, 1);
  });
  form.StartKnopfClick();
  return asked;
}

TEST_P(WindowsDefault, IsInOrderAndNoChangesNothing) {
  const TSubsystemScope scope(S::WindowsDefault);
  const TWindowsVersionOverride as(KnownWindows(GetParam()));
  const TCommandWatch commands;
  const std::string before = SubsystemExport();
  TCardmendMainForm form;
  ASSERT_TRUE(AwaitChecks(form));
  EXPECT_EQ(form.PCSCStatus(), TLayerStatus::AwaitingReader);
  EXPECT_TRUE(ShowsMark(form, *form.PCSCImage, rmAwaiting));
  EXPECT_EQ(form.LabelPCSC->Text(), " The Resource Manager waits for a card reader.");
  ShowActive(form);
  EXPECT_EQ(StartAnswering(form, VK_RETURN), 1);  // "No" has the focus
  EXPECT_TRUE(OnPage(form, TCardmendMainForm::StartPage));
  EXPECT_EQ(SubsystemExport(), before);
  EXPECT_TRUE(commands.Calls().empty());
}

// "Yes" runs every stage. The restart is chosen only where Windows must start again for
// what the run wrote: on 7 the automatic start, which nothing else would reach; from 8 on
// the service waits for a reader with either start type.
TEST_P(WindowsDefault, YesRepairsAndChoosesARestartOnlyWhereItIsNeeded) {
  const TSubsystemScope scope(S::WindowsDefault);
  const TWindowsVersionOverride as(KnownWindows(GetParam()));
  const TCommandWatch commands;
  TCardmendMainForm form;
  ShowActive(form);
  EXPECT_EQ(StartAnswering(form, 'Y'), 1);
  ASSERT_TRUE(OnPage(form, TCardmendMainForm::FinishPage));
  const bool needed = GetParam() == K::Win7x64SP1;
  EXPECT_EQ(form.rbRestart->Checked(), needed);
  EXPECT_EQ(form.rbLater->Checked(), !needed);
  EXPECT_EQ(form.Label2_1->Text(), LangText(needed ? sRestartNeeded : sNoRestartNeeded));
}

// A reader is attached and the service stopped all the same: the red mark, no question,
// every stage, and the restart that gives the service manager the automatic start.
TEST_P(WindowsDefault, WithAReaderAttachedTheStoppedServiceIsRepaired) {
  const TSubsystemScope scope({S::WindowsDefault, S::ReaderAttached});
  ASSERT_FALSE(HasFatalFailure());
  std::optional<TWindowsVersionOverride> as(KnownWindows(GetParam()));
  const TCommandWatch commands;
  TCardmendMainForm form;
  ASSERT_TRUE(AwaitChecks(form));
  EXPECT_EQ(form.PCSCStatus(), TLayerStatus::NotRunning);
  EXPECT_TRUE(ShowsMark(form, *form.PCSCImage, rmNotMet));
  ShowActive(form);
  EXPECT_EQ(StartAnswering(form, 'Y'), 0);
  ASSERT_TRUE(OnPage(form, TCardmendMainForm::FinishPage));
  EXPECT_TRUE(form.rbRestart->Checked());
  EXPECT_FALSE(form.rbLater->Checked());
  as.reset();
  SimulateRestart();
  EXPECT_TRUE(LayerWorks());
}

INSTANTIATE_TEST_SUITE_P(From7On, WindowsDefault,
                         testing::Values(K::Win7x64SP1, K::Win81x64, K::Win10x64, K::Win11x64),
                         [](const testing::TestParamInfo<K>& release) {
                           switch (release.param) {
                             case K::Win7x64SP1: return "Win7";
                             case K::Win81x64: return "Win81";
                             case K::Win11x64: return "Win11";
                             default: return "Win10";
                           }
                         });

}  // namespace
