// The repair steps together against the test prefix's smart-card subsystem: after them and
// a restart of the services, the resource manager answers again. The prefix reports 6.2, so
// this is also what the steps do to Windows 7 and later, whose own image path they keep.
#include <gtest/gtest.h>

#include "app/repair/pcsc.h"
#include "app/repair/permissionrepair.h"
#include "app/repair/registrycheck.h"
#include "app/repair/serviceconfig.h"
#include "sysutil/wait.h"
#include "tests/bed/repairfixture.h"
#include "tests/bed/scsubsystem.h"

namespace {

bool RunsWithin(DWORD ms) {
  const DWORD start = GetTickCount();
  while (!SCardSvrRunning() && GetTickCount() - start < ms) Delay(50);
  return SCardSvrRunning();
}

}  // namespace

TEST(RepairSteps, BringTheResourceManagerBackAfterARestart) {
  const TSubsystemState states[] = {
      TSubsystemState::Healthy,         TSubsystemState::StartManual,
      TSubsystemState::StartDisabled,   TSubsystemState::ObjectNameWrong,
      TSubsystemState::ObjectNameMissing, TSubsystemState::GroupMissing,
      TSubsystemState::CalaisDenied,    TSubsystemState::CalaisNoAccess,
      TSubsystemState::ReadersMissing,  TSubsystemState::SCardDrvPresent,
      TSubsystemState::SvchostForm,
  };
  TPCSCLibrary library;
  library.Load();
  ASSERT_TRUE(library.Loaded());
  for (const TSubsystemState state : states) {
    SCOPED_TRACE(SubsystemStateName(state));
    const TSubsystemScope scope(state);
    const wchar_t* host = state == TSubsystemState::SvchostForm ? L"svchost.exe" : L"SCardSvr.exe";

    TDiagnosticLog log;
    CheckServiceStartType(log);
    ConfigureSCardSvr(log);
    ConfigureSCardDrv(log);
    RepairCalaisPermissions(log);
    EXPECT_EQ(VerifyRegistry(log), 0);
    EXPECT_FALSE(KeyExists64(SCardDrvPath));

    SimulateRestart();
    EXPECT_TRUE(RunsWithin(5000));
    const auto restarted = SCardSvrAsManagerSeesIt();
    ASSERT_TRUE(restarted);
    EXPECT_EQ(lstrcmpiW(restarted->Process.c_str(), host), 0) << "the service moved to another host";
    TDiagnosticLog check;
    EXPECT_TRUE(library.Check(check));
  }
}
