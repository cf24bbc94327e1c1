// The program's runs without a window, called in this process as each release (the version
// it reads is overridden, the system tools are the test bed's recording stand-ins): the
// command line, and for every named state of the test bed what /check and /repair answer,
// what they leave behind and what they print.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/commandline.h"
#include "app/texts.h"
#include "app/unattended.h"
#include "sysutil/handles.h"
#include "sysutil/registryfault.h"
#include "sysutil/security.h"
#include "sysutil/textconv.h"
#include "sysutil/windowsversion.h"
#include "tests/bed/commandwatch.h"
#include "tests/bed/files.h"
#include "tests/bed/knownwindows.h"
#include "tests/bed/scratch.h"
#include "tests/bed/scsubsystem.h"
#include "tests/bed/wizardchecks.h"

namespace {

using S = TSubsystemState;
using K = TKnownWindows;

struct TLineCase {
  const wchar_t* CommandLine;
  TRunMode Mode;
  const wchar_t* LogFile;
};

const TLineCase LineCases[] = {
    {LR"("C:\Program Files\Cardmend\cardmend.exe")", TRunMode::Wizard, L""},
    {L"cardmend.exe   ", TRunMode::Wizard, L""},
    {L"cardmend.exe /check", TRunMode::Check, L""},
    {L"cardmend.exe -REPAIR", TRunMode::Repair, L""},
    {L"cardmend.exe\t/Repair\t-Log\tC:\\x.txt", TRunMode::Repair, L"C:\\x.txt"},
    {LR"("C:\a b\cardmend.exe" /Check /LOG "C:\log files\run 1.txt")", TRunMode::Check,
     LR"(C:\log files\run 1.txt)"},
    {L"cardmend.exe /log \\\\server\\share\\pc.log /check", TRunMode::Check,
     L"\\\\server\\share\\pc.log"},
    {LR"(cardmend.exe /repair /log "C:\logs\")", TRunMode::Repair, LR"(C:\logs\)"},
    {L"cardmend.exe /?", TRunMode::Usage, L""},
    {L"cardmend.exe /? /check", TRunMode::Wrong, L""},
    {L"cardmend.exe /log C:\\x.txt", TRunMode::Wrong, L""},
    {L"cardmend.exe /check /log", TRunMode::Wrong, L""},
    {L"cardmend.exe /check /log /repair", TRunMode::Wrong, L""},
    {L"cardmend.exe /check /log -repair", TRunMode::Wrong, L""},
    {L"cardmend.exe /check /log a.txt /log b.txt", TRunMode::Wrong, L""},
    {L"cardmend.exe /check /repair", TRunMode::Wrong, L""},
    {L"cardmend.exe /check /check", TRunMode::Wrong, L""},
    {L"cardmend.exe /fix", TRunMode::Wrong, L""},
    {L"cardmend.exe check", TRunMode::Wrong, L""},
    {L"cardmend.exe /", TRunMode::Wrong, L""},
    {L"cardmend.exe \"\"", TRunMode::Wrong, L""},
};

TEST(CommandLine, SwitchesInAnyCaseAndEitherPrefixWithTheirLogFile) {
  for (const TLineCase& c : LineCases) {
    SCOPED_TRACE(testing::Message() << Narrow(c.CommandLine));
    const TCommandLine line = ParseCommandLine(SplitCommandLine(c.CommandLine));
    EXPECT_EQ(line.Mode, c.Mode);
    EXPECT_EQ(line.LogFile, c.LogFile);
  }
}

// While it lives, this process's standard output is a file: what a run without a window
// writes for its caller lands there.
class TCapturedOutput {
 public:
  TCapturedOutput()
      : FSaved(GetStdHandle(STD_OUTPUT_HANDLE)),
        FFile(CreateFileW(Path().c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                          0, nullptr)) {
    SetStdHandle(STD_OUTPUT_HANDLE, FFile.Get());
  }
  ~TCapturedOutput() { SetStdHandle(STD_OUTPUT_HANDLE, FSaved); }
  std::wstring Path() const { return FScratch.Path() + L"output.txt"; }
  std::string Text() const { return ReadFileBytes(Path()).value_or(""); }

 private:
  TScratchFolder FScratch{L"output"};
  HANDLE FSaved;  // the process's own, not this object's
  THandle FFile;
};

struct TRun {
  int Code;
  std::string Output;
};

TRun RunAs(TRunMode mode, const std::wstring& logFile = L"") {
  const TCapturedOutput output;
  const int code = RunUnattended({mode, logFile});
  return {code, output.Text()};
}

// The line a run closes with: its text and its exit code.
std::string Closing(TTextKey text, int code) {
  return LangText(text) + " " + LangText(sExitCode) + " " + std::to_string(code) + ".\r\n";
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

class Unattended : public ::testing::Test {
 protected:
  void SetUp() override { LanguageEnglish = true; }
};

// Without administrator rights neither mode reads or changes anything: it says why and
// answers 4. The log file an earlier run left holds this run's refusal instead.
TEST_F(Unattended, WithoutAdministratorRightsBothModesRefuse) {
  const TSubsystemScope scope(S::ObjectNameWrong);
  const TCommandWatch commands;
  const TScratchFolder folder(L"refused");
  const std::wstring log = folder.Path() + L"run.log";
  const std::string before = SubsystemExport();
  for (const TRunMode mode : {TRunMode::Check, TRunMode::Repair}) {
    WriteFileBytes(log, "An earlier run's trace\r\n");
    TWithoutAdministrators user;
    ASSERT_TRUE(user.Active());
    const TRun run = RunAs(mode, log);
    EXPECT_EQ(run.Code, ecNoAdministrator);
    std::string expected = Closing(sNeedsAdmin, ecNoAdministrator);
    expected.replace(expected.find('|'), 1, "\r\n");
    EXPECT_EQ(run.Output, expected);
    EXPECT_EQ(ReadFileBytes(log), expected);
  }
  EXPECT_EQ(SubsystemExport(), before);
  EXPECT_TRUE(commands.Calls().empty());
}

// A layer that fails whatever the registry holds (the test WINSCARD.DLL answers every
// system-scope context with an internal error) on a system configured as the repair
// configures it: /repair runs every stage and answers 1, not the restart a deployment tool
// would then make in vain; a second run answers the same.
TEST_F(Unattended, ARepairThatCannotHelpSaysSo) {
  const TSubsystemScope scope(S::Healthy);
  const TWindowsVersionOverride as(KnownWindows(K::Win7x64SP1));
  const TCommandWatch commands;
  SetWinSCardFault(TWinSCardCall::EstablishSystem, static_cast<LONG>(0x80100001));
  EXPECT_EQ(RunAs(TRunMode::Check).Code, ecRepairNeeded);
  for (int run = 1; run <= 2; ++run) {
    SCOPED_TRACE(run);
    const TRun repair = RunAs(TRunMode::Repair);
    EXPECT_EQ(repair.Code, ecRepairNeeded);
    EXPECT_TRUE(EndsWith(repair.Output, Closing(sRepairFailed, ecRepairNeeded))) << repair.Output;
  }
}

// A stage that throws ends the run; a script without a console finds the error and the
// outcome in the log file, after the trace.
TEST_F(Unattended, AnExceptionInAStageAndTheOutcomeReachTheLog) {
  const TSubsystemScope scope(S::ServiceStopped);
  const TWindowsVersionOverride as(KnownWindows(K::XPSP3));
  const TCommandWatch commands;
  const TScratchFolder folder(L"broke down");
  const std::wstring log = folder.Path() + L"run.log";
  const TRegistryFaultScope fault([](TRegistryCall call, std::string_view name) -> LONG {
    if (call == TRegistryCall::Write && name == "ObjectName")
      throw std::runtime_error("the registry broke down");
    return ERROR_SUCCESS;
  });
  const TRun run = RunAs(TRunMode::Repair, log);
  const size_t error = run.Output.find("the registry broke down\r\n");
  ASSERT_NE(error, std::string::npos) << run.Output;
  const std::string written = ReadFileBytes(log).value_or("");
  EXPECT_TRUE(EndsWith(written, run.Output.substr(error))) << written;
  EXPECT_TRUE(EndsWith(written, Closing(sRepairWorks, run.Code)) ||
              EndsWith(written, Closing(sRepairFailed, run.Code)) ||
              EndsWith(written, Closing(sRepairRestart, run.Code)))
      << written;
}

}  // namespace

namespace {

// For every state, on 32-bit XP SP3, 64-bit Vista and 64-bit Windows 10: what /check
// answers, what /repair answers, and that the repair's answer holds: the layer works at
// once after 0, after a restart of Windows after 3010.
struct TCodeCell {
  K Release;
  std::vector<S> States;
  int Check;
  int Repair;
};

const char* ReleaseName(K release) {
  switch (release) {
    case K::XPSP3: return "XPSP3";
    case K::Vistax64SP2: return "Vistax64";
    case K::Win7x64SP1: return "Win7x64";
    case K::Win81x64: return "Win81";
    case K::Win11x64: return "Win11";
    default: return "Win10";
  }
}

class ExitCodes : public ::testing::TestWithParam<TCodeCell> {
 protected:
  void SetUp() override { LanguageEnglish = true; }
};

TEST_P(ExitCodes, CheckChangesNothingAndRepairKeepsItsWord) {
  const TCodeCell& c = GetParam();
  const TSubsystemScope scope(c.States);
  ASSERT_FALSE(HasFatalFailure());
  std::optional<TWindowsVersionOverride> as(KnownWindows(c.Release));
  const TCommandWatch commands;

  const std::string before = SubsystemExport();
  const TRun check = RunAs(TRunMode::Check);
  EXPECT_EQ(check.Code, c.Check);
  EXPECT_TRUE(EndsWith(check.Output, Closing(c.Check == 0 ? sCheckInOrder : sCheckRepairNeeded,
                                             c.Check)))
      << check.Output;
  EXPECT_EQ(SubsystemExport(), before);
  EXPECT_TRUE(commands.Calls().empty());

  const TRun repair = RunAs(TRunMode::Repair);
  EXPECT_EQ(repair.Code, c.Repair) << repair.Output;
  if (c.Check == 0) {
    EXPECT_TRUE(EndsWith(repair.Output, Closing(sCheckInOrder, 0))) << repair.Output;
    EXPECT_EQ(SubsystemExport(), before);
    EXPECT_TRUE(commands.Calls().empty());
  } else {
    const TTextKey closing = repair.Code == ecInOrder           ? sRepairWorks
                             : repair.Code == ecRestartRequired ? sRepairRestart
                                                                : sRepairFailed;
    EXPECT_TRUE(EndsWith(repair.Output, Closing(closing, repair.Code))) << repair.Output;
  }
  if (repair.Code == ecRestartRequired) {
    // What the repair wrote reaches the service manager only when Windows starts again:
    // until then a check finds what the repair found.
    EXPECT_EQ(RunAs(TRunMode::Check).Code, ecRepairNeeded);
    as.reset();
    SimulateRestart();
    as.emplace(KnownWindows(c.Release));
  }
  if (repair.Code != ecRepairNeeded) {
    EXPECT_EQ(RunAs(TRunMode::Check).Code, 0);
  }
}

std::string CodeCellName(const ::testing::TestParamInfo<TCodeCell>& info) {
  std::string name = ReleaseName(info.param.Release);
  for (const S state : info.param.States) name += std::string("_") + SubsystemStateName(state);
  for (char& ch : name)
    if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
  return name;
}

constexpr K XP = K::XPSP3, Vista64 = K::Vistax64SP2, Win7x64 = K::Win7x64SP1, Win10 = K::Win10x64;
constexpr S Default = S::WindowsDefault;

const TCodeCell CodeCells[] = {
    {XP, {S::Healthy}, 0, 0},            {Vista64, {S::Healthy}, 0, 0},              {Win10, {S::Healthy}, 0, 0},
    // 64-bit Vista and later leave the start to Windows; 8 and later stop it while no reader
    // is attached, and a reinstalled service waits for one there.
    {XP, {S::ServiceStopped}, 1, 0},     {Vista64, {S::ServiceStopped}, 1, 3010},    {Win10, {S::ServiceStopped}, 0, 0},
    {XP, {S::StartManual}, 1, 0},        {Vista64, {S::StartManual}, 1, 3010},       {Win10, {S::StartManual}, 0, 0},
    // The service manager reads the start type only when Windows starts.
    {XP, {S::StartDisabled}, 1, 3010},   {Vista64, {S::StartDisabled}, 1, 3010},     {Win10, {S::StartDisabled}, 1, 3010},
    {XP, {S::ObjectNameWrong}, 1, 0},    {Vista64, {S::ObjectNameWrong}, 1, 0},      {Win10, {S::ObjectNameWrong}, 1, 0},
    {XP, {S::ObjectNameMissing}, 1, 0},  {Vista64, {S::ObjectNameMissing}, 1, 0},    {Win10, {S::ObjectNameMissing}, 1, 0},
    // Only 32-bit XP SP2 needs the group.
    {XP, {S::GroupMissing}, 0, 0},       {Vista64, {S::GroupMissing}, 0, 0},         {Win10, {S::GroupMissing}, 0, 0},
    {XP, {S::CalaisDenied}, 1, 0},       {Vista64, {S::CalaisDenied}, 1, 0},         {Win10, {S::CalaisDenied}, 1, 0},
    {XP, {S::CalaisNoAccess}, 1, 0},     {Vista64, {S::CalaisNoAccess}, 1, 0},       {Win10, {S::CalaisNoAccess}, 1, 0},
    {XP, {S::CurrentMissing}, 1, 0},     {Vista64, {S::CurrentMissing}, 1, 0},       {Win10, {S::CurrentMissing}, 1, 0},
    {XP, {S::ReadersMissing}, 1, 0},     {Vista64, {S::ReadersMissing}, 1, 0},       {Win10, {S::ReadersMissing}, 1, 0},
    {XP, {S::SmartCardsMissing}, 1, 0},  {Vista64, {S::SmartCardsMissing}, 1, 0},    {Win10, {S::SmartCardsMissing}, 1, 0},
    {XP, {S::ServiceMissing}, 1, 0},     {Vista64, {S::ServiceMissing}, 1, 3010},    {Win10, {S::ServiceMissing}, 1, 0},
    // Only 32-bit XP runs the companion under its own account; later ones accept it.
    {XP, {S::SCardDrvPresent}, 1, 0},    {Vista64, {S::SCardDrvPresent}, 0, 0},      {Win10, {S::SCardDrvPresent}, 0, 0},
    {XP, {S::SvchostForm}, 0, 0},        {Vista64, {S::SvchostForm}, 0, 0},          {Win10, {S::SvchostForm}, 0, 0},
    // 7 keeps the image path, so a stopped service there leaves the repair nothing to write,
    // and on 64-bit Vista and later the repair starts no service itself.
    {Win7x64, {S::ServiceStopped}, 1, 1},
    // Windows' own configuration, stopped while no reader is attached, is in order from 7 on;
    // with one defect the repair mends it and needs no restart for that, since the service
    // keeps waiting for a reader. A reader attached to a stopped service, or a disabled
    // start, takes the restart that brings the written start type to the service manager.
    {Win7x64, {S::StartManual}, 0, 0},
    {Win7x64, {Default}, 0, 0},
    {Win7x64, {Default, S::ReaderAttached}, 1, 3010},
    {K::Win81x64, {Default}, 0, 0},
    {K::Win11x64, {Default}, 0, 0},
    {Win10, {Default}, 0, 0},
    {Win10, {Default, S::CurrentMissing}, 1, 0},
    {Win10, {Default, S::CalaisDenied}, 1, 0},
    {Win10, {Default, S::ObjectNameWrong}, 1, 0},
    {Win10, {Default, S::DeviceEnumDisabled}, 1, 0},
    {Win10, {Default, S::ReaderAttached}, 1, 3010},
    {Win10, {Default, S::StartDisabled}, 1, 3010},
};

INSTANTIATE_TEST_SUITE_P(EveryState, ExitCodes, ::testing::ValuesIn(CodeCells), CodeCellName);

}  // namespace
