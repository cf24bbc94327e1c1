#include "app/unattended.h"

#include <windows.h>

#include <exception>
#include <string>
#include <system_error>

#include "app/repair/diaglog.h"
#include "app/repair/healthcheck.h"
#include "app/repair/logfile.h"
#include "app/repair/pcsc.h"
#include "app/repair/repairstages.h"
#include "app/repair/windowsfamily.h"
#include "app/secondcopy.h"
#include "app/singleinstance.h"
#include "app/texts.h"
#include "controls/vexdesign.h"
#include "dialogs/vexmessage.h"
#include "sysutil/console.h"
#include "sysutil/handles.h"
#include "sysutil/security.h"
#include "sysutil/textconv.h"
#include "sysutil/windowsversion.h"

namespace {

std::string ErrorText(DWORD error) {
  return std::system_category().message(static_cast<int>(error)) + " (error " +
         std::to_string(error) + ")";
}

class TUnattendedRun {
 public:
  explicit TUnattendedRun(const TCommandLine& line) : FLine(line) {}
  int Execute();

 private:
  int ShowUsage();
  int Refusal();
  DWORD OpenLogFile();
  int LogNotWritable(DWORD error);
  int Check();
  int Repair();
  void RunStages();
  void Say(const std::string& text) const;
  int Conclude(int code, TTextKey text) const { return Conclude(code, LangText(text)); }
  int Conclude(int code, const std::string& text) const;

  const TCommandLine& FLine;
  TConsoleOutput FConsole;
  TLogFile FFile;
  TDiagnosticLog FLog;
  TPCSCLibrary FPCSC;
  THandle FMutex;
};

int TUnattendedRun::Execute() {
  if (FLine.Mode == TRunMode::Usage || FLine.Mode == TRunMode::Wrong) return ShowUsage();
  // Opened before anything is refused: a log left by an earlier run must not read as
  // this run's.
  const DWORD logError = OpenLogFile();
  if (const int refused = Refusal()) return refused;
  if (logError != ERROR_SUCCESS) return LogNotWritable(logError);
  FLog.OnLine = [this](const std::string& line) {
    FConsole.WriteLine(line);
    FFile.WriteLine(line);
  };
  FPCSC.Load();
  WriteRunHeader(FLog);
  return FLine.Mode == TRunMode::Check ? Check() : Repair();
}

// In the console when there is one; else the usage is the one window this mode shows.
int TUnattendedRun::ShowUsage() {
  const int code = FLine.Mode == TRunMode::Usage ? ecInOrder : ecWrongCommandLine;
  if (FConsole.Available()) {
    Say(UsageText());
    return code;
  }
  DesignStart();
  if (code == ecInOrder)
    VEXMessage().ShowInfo(UsageText());
  else
    VEXMessage().ShowError(UsageText());
  DesignEnd();
  return code;
}

int TUnattendedRun::Refusal() {
  if (!IsWin2000OrLater()) return Conclude(ecWindowsTooOld, sNeedsWin2000);
  if (!IsUserAdmin()) return Conclude(ecNoAdministrator, sNeedsAdmin);
  if (FLine.Mode != TRunMode::Repair) return 0;
  // A mutex of another user cannot even be opened: it exists all the same.
  FMutex.Reset(CreateMutexW(nullptr, FALSE, ProgramMutexName));
  if (!FMutex || GetLastError() == ERROR_ALREADY_EXISTS)
    return Conclude(ecAnotherCopy, sAnotherCopyRepairing);
  return 0;
}

DWORD TUnattendedRun::OpenLogFile() {
  return FLine.LogFile.empty() ? ERROR_SUCCESS : FFile.Open(FLine.LogFile);
}

int TUnattendedRun::LogNotWritable(DWORD error) {
  Say(LangText(sLogNotWritable) + "|" + Narrow(FLine.LogFile));
  return Conclude(ecLogNotWritable, ErrorText(error) + ".");
}

int TUnattendedRun::Check() {
  return SubsystemInOrder(FLog, FPCSC) ? Conclude(ecInOrder, sCheckInOrder)
                                       : Conclude(ecRepairNeeded, sCheckRepairNeeded);
}

// As the wizard's Start, without the question: a system in order is left untouched, and
// the end is judged as /check judges.
int TUnattendedRun::Repair() {
  if (SubsystemInOrder(FLog, FPCSC)) return Conclude(ecInOrder, sCheckInOrder);
  const std::string before = StartConfiguration();
  RunStages();
  switch (JudgeRepair(FPCSC, before)) {
    case TRepairOutcome::InOrder: return Conclude(ecInOrder, sRepairWorks);
    case TRepairOutcome::AfterRestart: return Conclude(ecRestartRequired, sRepairRestart);
    case TRepairOutcome::Failed: break;
  }
  return Conclude(ecRepairNeeded, sRepairFailed);
}

// A stage that throws ends the stages; what it left is judged like any other end.
void TUnattendedRun::RunStages() {
  try {
    const auto pause = [](const std::string&, DWORD ms) { Sleep(ms); };
    TRepairStages(FLog, FPCSC, ComputeVariantFlags(), pause, false).Run();
  } catch (const std::exception& error) {
    Say(error.what());
  } catch (...) {
    Say("Unknown error");
  }
}

// To the console and the log file, so that a script without a console still finds the
// outcome and the refusals in the log. The texts mark their line breaks with "|".
void TUnattendedRun::Say(const std::string& text) const {
  const auto line = [this](const std::string& part) {
    FConsole.WriteLine(part);
    FFile.WriteLine(part);
  };
  size_t start = 0;
  for (size_t end; (end = text.find('|', start)) != std::string::npos; start = end + 1)
    line(text.substr(start, end - start));
  line(text.substr(start));
}

int TUnattendedRun::Conclude(int code, const std::string& text) const {
  Say(text + " " + LangText(sExitCode) + " " + std::to_string(code) + ".");
  return code;
}

}  // namespace

int RunUnattended(const TCommandLine& line) { return TUnattendedRun(line).Execute(); }
