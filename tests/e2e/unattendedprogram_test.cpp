// The real cardmend.exe started with switches, as a script or a deployment tool starts it,
// on the test prefix's own Windows: it never makes a window, says why it refuses, writes
// the wizard's trace and reaches the console it was started from.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/secondcopy.h"
#include "app/singleinstance.h"
#include "app/texts.h"
#include "app/unattended.h"
#include "sysutil/handles.h"
#include "sysutil/textconv.h"
#include "tests/bed/commandwatch.h"
#include "tests/bed/files.h"
#include "tests/bed/programs.h"
#include "tests/bed/runningwizard.h"
#include "tests/bed/scratch.h"
#include "tests/bed/scsubsystem.h"
#include "tests/bed/testbed.h"
#include "tests/bed/watchedrun.h"
#include "tests/bed/winversion.h"
#include "tests/bed/wizardchecks.h"

namespace {

using S = TSubsystemState;

std::wstring Program() { return BuildDir() + L"cardmend.exe"; }

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// The first line of a text of the table, as a console shows it.
std::string FirstLine(TTextKey key) {
  const std::string& text = LangText(key);
  return text.substr(0, text.find('|'));
}

class UnattendedProgram : public ::testing::Test {
 protected:
  void SetUp() override { LanguageEnglish = true; }
};

// The watch sees windows where there are some: the usage of a wrong command line started
// without any console (this test gives its own up) is the one window these runs may show;
// Enter closes it.
TEST_F(UnattendedProgram, ShowsNoWindowWhileCheckingAndRepairing) {
  const TSubsystemScope scope(S::ObjectNameWrong);
  const TCommandWatch commands;
  FreeConsole();
  const TWatchedRun usage = RunWatched(Program(), L"/chek", 20000, false, [](DWORD pid) {
    const HWND dialog = WaitForWindow(pid, L"TVEXMessageForm", 0);
    if (dialog) PostMessageW(dialog, WM_KEYDOWN, VK_RETURN, 1);
  });
  EXPECT_EQ(usage.ExitCode, static_cast<DWORD>(ecWrongCommandLine));
  EXPECT_GT(usage.WindowEvents, 0);
  EXPECT_GT(usage.WindowsSeen, 0);

  for (const auto& [arguments, code] : {std::pair{L"/check", ecRepairNeeded},
                                        std::pair{L"-Repair", ecInOrder},
                                        std::pair{L"/CHECK", ecInOrder}}) {
    SCOPED_TRACE(Narrow(arguments));
    const TWatchedRun run = RunWatched(Program(), arguments);
    EXPECT_EQ(run.ExitCode, static_cast<DWORD>(code)) << run.Output;
    EXPECT_TRUE(Contains(run.Output, "  PC/SC checked\r\n")) << run.Output;
    EXPECT_EQ(run.WindowEvents, 0);
    EXPECT_EQ(run.WindowsSeen, 0);
  }
}

// Each refusal answers its own code and its reason, with nothing changed and no window;
// /check still runs beside a copy that holds the repair's mutex.
TEST_F(UnattendedProgram, RefusesWithItsCodeAndChangesNothing) {
  const TSubsystemScope scope(S::ObjectNameWrong);
  const TCommandWatch commands;
  const TScratchFolder folder(L"refusals");
  const std::string before = SubsystemExport();
  const auto expectRefused = [&](const std::wstring& arguments, int code, const std::string& says) {
    SCOPED_TRACE(Narrow(arguments));
    const TWatchedRun run = RunWatched(Program(), arguments);
    EXPECT_EQ(run.ExitCode, static_cast<DWORD>(code));
    EXPECT_TRUE(Contains(run.Output, says)) << run.Output;
    EXPECT_TRUE(Contains(run.Output, LangText(sExitCode) + " " + std::to_string(code) + ".") ||
                code == ecWrongCommandLine)
        << run.Output;
    EXPECT_EQ(run.WindowEvents + run.WindowsSeen, 0);
    EXPECT_EQ(SubsystemExport(), before);
    EXPECT_TRUE(commands.Calls().empty());
  };

  expectRefused(L"/repair /log", ecWrongCommandLine, FirstLine(sUsage));
  expectRefused(L"/repair /check", ecWrongCommandLine, FirstLine(sUsage));
  const std::wstring unwritable = folder.Path() + L"no such folder\\run.log";
  expectRefused(L"/repair /log \"" + unwritable + L"\"", ecLogNotWritable,
                LangText(sLogNotWritable) + "\r\n" + Narrow(unwritable) + "\r\n");
  EXPECT_FALSE(FileExists(unwritable));
  // A refusal replaces the log an earlier run left with its own lines.
  const std::wstring log = folder.Path() + L"run.log";
  const auto expectLogged = [&](const std::string& says) {
    const std::string written = ReadFileBytes(log).value_or("");
    EXPECT_TRUE(Contains(written, says)) << written;
    EXPECT_FALSE(Contains(written, "earlier")) << written;
  };
  {
    const TWindowsVersionScope windows(L"win98", std::nullopt, L"cardmend.exe");
    expectRefused(L"/repair", ecWindowsTooOld, FirstLine(sNeedsWin2000));
    WriteFileBytes(log, "An earlier run's trace\r\n");
    expectRefused(L"/check /log \"" + log + L"\"", ecWindowsTooOld, FirstLine(sNeedsWin2000));
    expectLogged(FirstLine(sNeedsWin2000));
  }
  {
    const THandle wizard(CreateMutexW(nullptr, FALSE, ProgramMutexName));
    expectRefused(L"/repair", ecAnotherCopy, FirstLine(sAnotherCopyRepairing));
    WriteFileBytes(log, "An earlier run's trace\r\n");
    expectRefused(L"/repair /log \"" + log + L"\"", ecAnotherCopy, FirstLine(sAnotherCopyRepairing));
    expectLogged(LangText(sExitCode) + " " + std::to_string(ecAnotherCopy) + ".");
    const TWatchedRun check = RunWatched(Program(), L"/check");
    EXPECT_EQ(check.ExitCode, static_cast<DWORD>(ecRepairNeeded)) << check.Output;
  }
}

// The program itself as Wine shows it 64-bit Vista, 7 and Windows 10 (10.0, which the
// program's manifest declares): a stopped service without a reader is broken on Vista and
// waits for a reader on 10; on 7 only with the manual start Windows gives it.
TEST_F(UnattendedProgram, AnswersAsTheWindowsItRunsOn) {
  struct TCase {
    const wchar_t* Version;
    S State;
    int Check, Repair;
  };
  const TCase cases[] = {{L"win10", S::ServiceStopped, ecInOrder, ecInOrder},
                         {L"vista", S::ServiceStopped, ecRepairNeeded, ecRestartRequired},
                         {L"win10", S::StartDisabled, ecRepairNeeded, ecRestartRequired},
                         {L"win10", S::WindowsDefault, ecInOrder, ecInOrder},
                         {L"win7", S::WindowsDefault, ecInOrder, ecInOrder}};
  const std::string byDesign = "  PC/SC service is stopped until a reader is attached, as Windows "
                               "has it, and its configuration is in order\r\n";
  for (const TCase& c : cases) {
    SCOPED_TRACE(Narrow(c.Version) + " " + SubsystemStateName(c.State));
    const TSubsystemScope scope(c.State);
    const TWindowsVersionScope windows(c.Version, std::nullopt, L"cardmend.exe");
    const TCommandWatch commands;
    const TWatchedRun check = RunWatched(Program(), L"/check");
    EXPECT_EQ(check.ExitCode, static_cast<DWORD>(c.Check)) << check.Output;
    EXPECT_EQ(Contains(check.Output, byDesign), c.Check == ecInOrder) << check.Output;
    const TWatchedRun repair = RunWatched(Program(), L"/repair");
    EXPECT_EQ(repair.ExitCode, static_cast<DWORD>(c.Repair)) << repair.Output;
  }
}

// The manifest declares every Windows up to 11, so Windows tells the program its true
// version, and the trace's header names it.
TEST_F(UnattendedProgram, NamesTheWindowsItRunsOn) {
  const std::pair<const wchar_t*, const char*> cases[] = {
      {L"win7", "Microsoft Windows 7, V6.01, Build 7601"},
      {L"win8", "Microsoft Windows 8, V6.02, Build 9200"},
      {L"win81", "Microsoft Windows 8.1, V6.03, Build 9600"},
      {L"win10", "Microsoft Windows 10, V10.00, Build "},
  };
  for (const auto& [version, name] : cases) {
    SCOPED_TRACE(Narrow(version));
    const TWindowsVersionScope windows(version, std::nullopt, L"cardmend.exe");
    const TWatchedRun check = RunWatched(Program(), L"/check");
    EXPECT_TRUE(Contains(check.Output, name)) << check.Output;
  }
}

// The same broken state repaired once by the wizard (Ctrl held, its trace caught by the
// viewer) and once by /repair with /log: the same commands, and the same trace line for
// line but for the times.
TEST_F(UnattendedProgram, RepairWritesTheTraceTheWizardShows) {
  const auto withoutTimes = [](const std::string& trace) {
    std::vector<std::string> lines;
    for (size_t start = 0, end; (end = trace.find("\r\n", start)) != std::string::npos; start = end + 2)
      lines.push_back(trace.substr(start, end - start).substr(std::min<size_t>(14, end - start)));
    if (lines.size() > 2) lines[2] = "(date)";
    return lines;
  };
  const TScratchFolder folder(L"repair log");
  const std::wstring logFile = folder.Path() + L"Über den Lauf.log";
  std::string wizardTrace, repairTrace;
  std::vector<TCommandWatch::TCall> wizardCalls, repairCalls;
  {
    const TSubsystemScope scope(S::CalaisNoAccess);
    const TCommandWatch commands;
    const TEchoViewer viewer;
    TRunningWizard wizard;
    ASSERT_TRUE(wizard.WaitReady());
    wizard.PressEnterHoldingCtrl();
    ASSERT_TRUE(WaitUntil([&] { return wizard.PageShown(L"Progress"); }, 20000));
    wizard.ReleaseCtrl();
    ASSERT_TRUE(WaitUntil([&] { return wizard.PageShown(L"Finish"); }, 60000));
    ASSERT_TRUE(WaitForEcho(viewer.Record(), 10000));
    wizardTrace = ReadFileBytes(viewer.Copy()).value_or("");
    wizardCalls = commands.Calls();
  }
  {
    const TSubsystemScope scope(S::CalaisNoAccess);
    const TCommandWatch commands;
    const TWatchedRun run = RunWatched(Program(), L"/repair /log \"" + logFile + L"\"");
    EXPECT_EQ(run.ExitCode, static_cast<DWORD>(ecInOrder)) << run.Output;
    repairTrace = ReadFileBytes(logFile).value_or("");
    repairCalls = commands.Calls();
    EXPECT_TRUE(Contains(run.Output, repairTrace)) << run.Output;
    // The log closes with the outcome, which the wizard shows on its finish page instead.
    const std::string closing =
        LangText(sRepairWorks) + " " + LangText(sExitCode) + " " + std::to_string(ecInOrder) + ".\r\n";
    ASSERT_TRUE(repairTrace.ends_with(closing)) << repairTrace;
    repairTrace.resize(repairTrace.size() - closing.size());
  }
  ASSERT_GT(wizardTrace.size(), 200u);
  EXPECT_EQ(withoutTimes(repairTrace), withoutTimes(wizardTrace));
  EXPECT_EQ(repairCalls, wizardCalls);
}

// A console program (this test, with a console of its own for the moment) starts the
// program without handing it any handle: the lines appear in its console all the same.
TEST_F(UnattendedProgram, TheTraceReachesTheConsoleItWasStartedFrom) {
  const TSubsystemScope scope(S::Healthy);
  const HANDLE savedIn = GetStdHandle(STD_INPUT_HANDLE), savedOut = GetStdHandle(STD_OUTPUT_HANDLE),
               savedError = GetStdHandle(STD_ERROR_HANDLE);
  FreeConsole();
  ASSERT_TRUE(AllocConsole());
  const TWatchedRun run = RunWatched(Program(), L"/check", 60000, false);
  std::wstring screen;
  {
    const THandle out(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, 0, nullptr));
    CONSOLE_SCREEN_BUFFER_INFO info{};
    GetConsoleScreenBufferInfo(out.Get(), &info);
    screen.resize(static_cast<size_t>(info.dwSize.X) * info.dwSize.Y);
    DWORD read = 0;
    ReadConsoleOutputCharacterW(out.Get(), screen.data(), static_cast<DWORD>(screen.size()), {0, 0},
                                &read);
    screen.resize(read);
  }
  FreeConsole();
  SetStdHandle(STD_INPUT_HANDLE, savedIn);
  SetStdHandle(STD_OUTPUT_HANDLE, savedOut);
  SetStdHandle(STD_ERROR_HANDLE, savedError);
  EXPECT_EQ(run.ExitCode, static_cast<DWORD>(ecInOrder));
  EXPECT_TRUE(run.Output.empty());
  const std::string text = Narrow(screen);
  EXPECT_TRUE(Contains(text, "  *************** Cardmend ***************")) << text;
  EXPECT_TRUE(Contains(text, "PC/SC checked")) << text;
  EXPECT_TRUE(Contains(text, LangText(sCheckInOrder) + " " + LangText(sExitCode) + " 0.")) << text;
}

}  // namespace
