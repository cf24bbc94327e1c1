// The real cardmend.exe as a user runs it on the 64-bit families Wine can show a program
// of its own (a 32-bit Windows it cannot: IsWow64Process always answers TRUE): started as
// that Windows, Ctrl held and Enter pressed, the question answered where it comes, "later"
// chosen and Finish pressed. Then the commands it started, its trace as the text viewer got
// it, a clean verification for that Windows and, after a restart, a layer that answers.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/repair/diaglog.h"
#include "app/repair/pcsc.h"
#include "app/repair/registrycheck.h"
#include "sysutil/textconv.h"
#include "sysutil/windowsversion.h"
#include "tests/bed/commandwatch.h"
#include "tests/bed/echorecord.h"
#include "tests/bed/files.h"
#include "tests/bed/knownwindows.h"
#include "tests/bed/registryfixture.h"
#include "tests/bed/runningwizard.h"
#include "tests/bed/scopedenv.h"
#include "tests/bed/scratch.h"
#include "tests/bed/scsubsystem.h"
#include "tests/bed/winversion.h"
#include "tests/bed/wizardchecks.h"

namespace {

struct TProgramCell {
  const wchar_t* Version;  // Wine's name of the release
  std::optional<TKnownWindows> Release;  // the same release, for the test's own verification
  TSubsystemState State;
  bool Asked;
  const char* Commands;  // s net stop, t net start, i scardsvr reinstall (no RegSvr32 here)
};

const TProgramCell Cells[] = {
    {L"winxp64", TKnownWindows::XPx64SP2, TSubsystemState::ServiceStopped, false, "st"},
    {L"win2003", TKnownWindows::Server2003x64SP2, TSubsystemState::StartDisabled, false, "sttiit"},
    {L"vista", TKnownWindows::Vistax64SP2, TSubsystemState::ServiceMissing, false, "i"},
    {L"win7", TKnownWindows::Win7x64SP1, TSubsystemState::Healthy, true, ""},
    {L"win10", std::nullopt, TSubsystemState::CalaisDenied, false, ""},
};

std::string Letters(const std::vector<TCommandWatch::TCall>& calls) {
  std::string letters;
  for (const auto& call : calls) {
    const std::wstring& line = call.CommandLine;
    if (line.ends_with(L"net\" stop ScardSvr /yes")) letters += 's';
    else if (line.ends_with(L"net\" start ScardSvr")) letters += 't';
    else if (line.ends_with(L"RegSvr32.exe\" /i /s scardssp.dll")) letters += 'r';
    else if (line.ends_with(L"scardsvr.exe\" reinstall")) letters += 'i';
    else letters += '?';
  }
  return letters;
}

class ProgramRun : public ::testing::TestWithParam<TProgramCell> {};

TEST_P(ProgramRun, AsTheUserRunsIt) {
  const TProgramCell& c = GetParam();
  const TSubsystemScope subsystem(c.State);
  const TWindowsVersionScope windows(c.Version, std::nullopt, L"cardmend.exe");
  const TCommandWatch commands;
  const TEchoViewer viewer;
  const std::wstring temp = viewer.Temp(), record = viewer.Record(), copy = viewer.Copy();

  TRunningWizard wizard;
  ASSERT_TRUE(wizard.WaitReady());
  wizard.PressEnterHoldingCtrl();
  bool asked = false;
  WaitUntil([&] {
    HWND question = FindWindowW(L"TVEXQuestionForm", nullptr);
    if (question && IsWindowVisible(question) && !asked) {
      asked = true;
      // The run has read Ctrl before it asks. Ctrl may still be down in the wizard's key
      // state, which would make a Y key Ctrl+Y: the letter itself answers.
      wizard.ReleaseCtrl();
      PostMessageW(question, WM_CHAR, L'y', 1);
    }
    return wizard.PageShown(L"Progress") || wizard.PageShown(L"Finish");
  }, 20000);
  wizard.ReleaseCtrl();
  EXPECT_EQ(asked, c.Asked);
  ASSERT_TRUE(WaitUntil([&] { return wizard.PageShown(L"Finish"); }, 60000));
  EXPECT_EQ(Letters(commands.Calls()), c.Commands);

  ASSERT_TRUE(WaitForEcho(record, 10000));
  const std::string trace = ReadFileBytes(copy).value_or("");
  EXPECT_EQ(trace.substr(12, 4), "  \r\n");
  EXPECT_NE(trace.find("  *************** Cardmend ***************\r\n"), std::string::npos);
  const bool missing = c.State == TSubsystemState::ServiceMissing;
  EXPECT_NE(trace.find(missing ? "  PC/SC service does not exist\r\n" : "  PC/SC service exists\r\n"),
            std::string::npos);

  SendMessageW(FindChildByText(wizard.Window(), L"No, the computer will be restarted later."),
               BM_CLICK, 0, 0);
  wizard.Press(VK_RETURN);
  EXPECT_TRUE(wizard.Exited(10000));

  {
    std::optional<TWindowsVersionOverride> as;
    if (c.Release) as.emplace(KnownWindows(*c.Release));
    TDiagnosticLog verification;
    EXPECT_EQ(VerifyRegistry(verification), 0);
  }
  SimulateRestart();
  EXPECT_TRUE(LayerWorks());
}

std::string CellName(const ::testing::TestParamInfo<TProgramCell>& info) {
  return Narrow(info.param.Version) + "_" + std::to_string(static_cast<int>(info.param.State));
}

INSTANTIATE_TEST_SUITE_P(SixtyFourBit, ProgramRun, ::testing::ValuesIn(Cells), CellName);

}  // namespace
