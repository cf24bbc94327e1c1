#include "sysutil/scopeexit.h"
#include "sysutil/wait.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>

#include "sysutil/system.h"
#include "sysutil/textconv.h"
#include "tests/bed/echorecord.h"
#include "tests/bed/files.h"
#include "tests/bed/scopedenv.h"
#include "tests/bed/scratch.h"
#include "tests/bed/testbed.h"
#include "tests/bed/testwindow.h"

namespace {

int GTicks = 0;

void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) { ++GTicks; }

// A 100 ms timer on a plain window: its ticks arrive only while someone dispatches messages.
class TTicker {
 public:
  TTicker() {
    GTicks = 0;
    SetTimer(FWindow.Handle(), 1, 100, &CountTick);
  }
  ~TTicker() { KillTimer(FWindow.Handle(), 1); }
  int Ticks() const { return GTicks; }

 private:
  TTestWindow FWindow;
};

class TStopwatch {
 public:
  DWORD Elapsed() const { return GetTickCount() - FStart; }

 private:
  DWORD FStart = GetTickCount();
};

ULONGLONG ThreadCpuMs() {
  FILETIME created, ended, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user);
  const auto ticks = [](const FILETIME& t) {
    return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  return (ticks(kernel) + ticks(user)) / 10000;
}

// lateexit.exe ends after `ms` and leaves a marker file behind.
class TLateExit {
 public:
  explicit TLateExit(unsigned ms)
      : FMarker(FScratch.Path() + L"ended"),
        FParameters(std::to_string(ms) + " \"" + Narrow(FMarker) + "\"") {}
  std::string Program() const { return Narrow(HelperProgram(L"lateexit")); }
  const std::string& Parameters() const { return FParameters; }
  bool Ended() const { return FileExists(FMarker); }
  bool EndsWithin(DWORD ms) const { return WaitForFile(FMarker, ms); }

 private:
  TScratchFolder FScratch{L"late"};
  std::wstring FMarker;
  std::string FParameters;
};

}  // namespace

TEST(Delay, KeepsTheTimerTicking) {
  const TTicker ticker;
  const TStopwatch watch;
  Delay(1000);
  EXPECT_GE(watch.Elapsed(), 990u);
  EXPECT_GE(ticker.Ticks(), 5);
}

TEST(Delay, ZeroReturnsAtOnce) {
  const TStopwatch watch;
  Delay(0);
  EXPECT_LT(watch.Elapsed(), 100u);
}

TEST(Delay, SleepsInsteadOfPollingTheQueue) {
  const TTicker ticker;
  const ULONGLONG before = ThreadCpuMs();
  Delay(1000);
  // Polling costs this thread hundreds of milliseconds (under Wine, the wineserver more).
  EXPECT_LT(ThreadCpuMs() - before, 100u);
}

TEST(RunProgram, WaitsForTheEndWhileTheTimerTicks) {
  const TLateExit program(1000);
  const TTicker ticker;
  EXPECT_TRUE(RunProgram(program.Program(), program.Parameters(), true));
  EXPECT_TRUE(program.Ended());
  EXPECT_GE(ticker.Ticks(), 5);
}

TEST(RunProgramTimed, LeavesAProgramRunningPastItsTimeOut) {
  const TLateExit program(4000);
  const TTicker ticker;
  const TStopwatch watch;
  EXPECT_TRUE(RunProgramTimed(program.Program(), program.Parameters(), 1000, false));
  EXPECT_GE(watch.Elapsed(), 990u);
  EXPECT_FALSE(program.Ended());
  EXPECT_GE(ticker.Ticks(), 5);
  EXPECT_TRUE(program.EndsWithin(15000));
}

TEST(RunProgramTimed, ReturnsWhenTheProgramEndsBeforeItsTimeOut) {
  const TLateExit program(200);
  const TStopwatch watch;
  EXPECT_TRUE(RunProgramTimed(program.Program(), program.Parameters(), 10000, false));
  EXPECT_TRUE(program.Ended());
  EXPECT_LT(watch.Elapsed(), 5000u);
}

TEST(RunProgramTimed, ZeroStartsTheProgramAndReturnsAtOnce) {
  const TLateExit program(3000);
  const TStopwatch watch;
  EXPECT_TRUE(RunProgramTimed(program.Program(), program.Parameters(), 0, false));
  EXPECT_LT(watch.Elapsed(), 1500u);
  EXPECT_FALSE(program.Ended());
  EXPECT_TRUE(program.EndsWithin(15000));
}

TEST(RunProgram, AMissingProgramIsNotStartedAndNotAwaited) {
  const TScratchFolder scratch;
  const std::string missing = Narrow(scratch.Path()) + "missing.exe";
  const TStopwatch watch;
  EXPECT_FALSE(RunProgram(missing, "", true));
  EXPECT_FALSE(RunProgramTimed(missing, "", 20000, true));
  EXPECT_LT(watch.Elapsed(), 5000u);
}

// "C:\...\Program Files\echo.exe" unquoted would start a planted "C:\...\Program.exe".
TEST(RunProgram, QuotesAProgramPathWithBlanks) {
  struct TCase {
    const char* Name;
    std::function<bool(const std::string&, const std::string&)> Run;
    const wchar_t* Show;
  };
  const TCase cases[] = {
      {"RunProgram", [](auto& p, auto& a) { return RunProgram(p, a, true); }, L"-"},
      {"RunProgramTimed shown", [](auto& p, auto& a) { return RunProgramTimed(p, a, 20000, true); },
       L"-"},
      {"RunProgramTimed hidden",
       [](auto& p, auto& a) { return RunProgramTimed(p, a, 20000, false); }, L"0"},
  };
  const TScratchFolder scratch(L"quote \u2713");
  CreateDirectoryW((scratch.Path() + L"Program Files").c_str(), nullptr);
  const std::wstring program = scratch.Path() + L"Program Files\\echo.exe";
  CopyHelperProgram(L"echoargs", program);
  CopyHelperProgram(L"echoargs", scratch.Path() + L"Program.exe");
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::wstring record = scratch.Path() + L"record" + std::to_wstring(++n);
    const TScopedEnv echoFile(EchoFileVariable, record.c_str());
    ASSERT_TRUE(c.Run(Narrow(program), "one \"two three\""));
    const auto echo = WaitForEcho(record, 10000);
    ASSERT_TRUE(echo);
    EXPECT_EQ(echo->Module, program);
    EXPECT_EQ(echo->CommandLine, L"\"" + program + L"\" one \"two three\"");
    EXPECT_EQ(echo->Show, c.Show);
  }
}

// A 32-bit program on 64-bit Windows is sent to the 32-bit System folder; the repair's
// programs must be the native ones (XP x64 has no 32-bit scardsvr.exe). A program placed
// only in the native System folder is started from the System folder's path, and the
// redirection is back on once the start returned. A 64-bit program sees no redirection:
// it starts the native program directly, never a 32-bit copy of the same name.
TEST(RunProgram, StartsTheNativeSystemFoldersProgramOn64BitWindows) {
  const std::string systemDir = GetSystemDir();
  const std::wstring nativeCopy = NativeSystemFolder() + L"cmnative.exe";
  const std::wstring asSeen = Widen(systemDir) + L"cmnative.exe";
  const std::wstring wow64Copy = Widen(GetWindowsDir()) + L"syswow64\\cmnative.exe";
  CopyHelperProgram(L"echoargs", nativeCopy);
  if (!In32BitFlavor) CopyHelperProgram(L"echoargs", wow64Copy);
  const TScopeExit remove([&] {
    DeleteFileW(nativeCopy.c_str());
    if (!In32BitFlavor) DeleteFileW(wow64Copy.c_str());
  });
  // Not there for a 32-bit program, so the test cannot pass by finding a 32-bit copy.
  if (In32BitFlavor) {
    ASSERT_EQ(GetFileAttributesW(asSeen.c_str()), INVALID_FILE_ATTRIBUTES);
  }

  const TScratchFolder scratch(L"native");
  const std::wstring record = scratch.Path() + L"record";
  const TScopedEnv echoFile(EchoFileVariable, record.c_str());
  ASSERT_TRUE(RunProgramTimed(systemDir + "cmnative.exe", "reinstall", 20000, false));
  const auto echo = WaitForEcho(record, 10000);
  ASSERT_TRUE(echo);
  EXPECT_EQ(echo->CommandLine, L"\"" + asSeen + L"\" reinstall");
  if (In32BitFlavor) {
    EXPECT_EQ(GetFileAttributesW(asSeen.c_str()), INVALID_FILE_ATTRIBUTES);
  } else {
    EXPECT_EQ(lstrcmpiW(echo->Module.c_str(), nativeCopy.c_str()), 0) << Narrow(echo->Module);
  }
}
