#include <gtest/gtest.h>

#include <memory>

#include "app/repair/pcsc.h"
#include "app/repair/servicestate.h"
#include "app/wizard/mainform.h"
#include "app/wizard/requirementmarks.h"
#include "sysutil/scopeexit.h"
#include "sysutil/wait.h"
#include "tests/bed/knownwindows.h"
#include "tests/bed/repairfixture.h"
#include "tests/bed/scsubsystem.h"
#include "tests/bed/wizardchecks.h"

namespace {

using TLines = std::vector<std::string>;

constexpr LONG NoService = static_cast<LONG>(0x8010001D);
constexpr LONG ReaderUnavailable = static_cast<LONG>(0x80100017);
constexpr LONG InternalError = static_cast<LONG>(0x80100001);

const char* const Checking = "Checking PC/SC ...";
const char* const UserOK[] = {"SCardEstablishContext (User): 00000000",
                              "  SCardEstablishContext (User) OK"};
const char* const SystemOK[] = {"SCardEstablishContext (System): 00000000",
                                "  SCardEstablishContext (System) OK"};

TLines Lines(std::initializer_list<std::string> head, bool userOK, bool systemOK,
             std::initializer_list<std::string> tail) {
  TLines lines = {Checking};
  lines.insert(lines.end(), head);
  if (userOK) lines.insert(lines.end(), std::begin(UserOK), std::end(UserOK));
  if (systemOK) lines.insert(lines.end(), std::begin(SystemOK), std::end(SystemOK));
  lines.insert(lines.end(), tail);
  lines.push_back("PC/SC checked");
  lines.push_back("");
  return lines;
}

// The trace with the last error's number, which is Windows' to choose, cut off.
TLines WithoutErrorNumber(TLines lines) {
  for (std::string& line : lines)
    if (line.starts_with("  GetLastError: ")) line = "  GetLastError: ";
  return lines;
}

}  // namespace

TEST(PCSCCheck, TracesEachAnswerOfThePCSCLayer) {
  struct TCase {
    const char* Name;
    TSubsystemState State;
    std::optional<std::pair<TWinSCardCall, LONG>> Fault;
    int Readers;
    bool Works;
    TLines Trace;
  };
  const TCase cases[] = {
      {"readers attached", TSubsystemState::Healthy, std::nullopt, 2, true,
       Lines({}, true, true, {"  SCardListReaders OK (card reader(s) connected)"})},
      {"no reader", TSubsystemState::Healthy, std::nullopt, 0, true,
       Lines({}, true, true, {"  SCardListReaders OK (no card reader connected)"})},
      {"service stopped", TSubsystemState::ServiceStopped, std::nullopt, 1, false,
       Lines({"SCardEstablishContext (User): 8010001D",
              "  SCardEstablishContext (User) failed with error code 8010001D",
              "  GetLastError: "},
             false, false, {})},
      {"Calais unreadable", TSubsystemState::CalaisNoAccess, std::nullopt, 0, false,
       Lines({"SCardEstablishContext (User): 8010001D",
              "  SCardEstablishContext (User) failed with error code 8010001D",
              "  GetLastError: "},
             false, false, {})},
      {"system scope refused", TSubsystemState::Healthy,
       std::make_pair(TWinSCardCall::EstablishSystem, InternalError), 1, false,
       Lines({}, true, false, {"SCardEstablishContext (System): 80100001"})},
      {"readers unavailable", TSubsystemState::Healthy,
       std::make_pair(TWinSCardCall::ListReaders, ReaderUnavailable), 1, false,
       Lines({}, true, true, {"  SCardListReaders failed with error code 80100017"})},
  };
  TPCSCLibrary library;
  library.Load();
  ASSERT_TRUE(library.Loaded());
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TSubsystemScope state(c.State);
    for (int i = 0; i < c.Readers; ++i) AddReader("Test Reader " + std::to_string(i));
    if (c.Fault) SetWinSCardFault(c.Fault->first, c.Fault->second);
    TDiagnosticLog log;
    EXPECT_EQ(library.Check(log), c.Works);
    EXPECT_EQ(WithoutErrorNumber(Texts(log)), c.Trace);
    EXPECT_EQ(library.Responds(), c.State == TSubsystemState::Healthy &&
                                      (!c.Fault || c.Fault->first == TWinSCardCall::ListReaders));
    if (c.Fault) SetWinSCardFault(c.Fault->first, 0);
    for (int i = 0; i < c.Readers; ++i) RemoveReader("Test Reader " + std::to_string(i));
  }
}

TEST(PCSCCheck, NeverCallsAnUnloadedLibrary) {
  const TSubsystemScope state(TSubsystemState::Healthy);
  TPCSCLibrary library;
  TDiagnosticLog log;
  EXPECT_FALSE(library.Check(log));
  EXPECT_FALSE(library.Responds());
  EXPECT_EQ(Texts(log), (TLines{Checking,
                                "  WINSCARD.DLL is missing or incomplete: PC/SC not available",
                                "PC/SC checked", ""}));
  library.Load();
  library.Free();
  EXPECT_FALSE(library.Loaded());
  EXPECT_FALSE(library.Responds());
}

TEST(ServiceState, CountsOnlyAServiceTheManagerKnows) {
  {
    const TSubsystemScope state(TSubsystemState::Healthy);
    EXPECT_TRUE(ServiceExists());
    EXPECT_TRUE(ServiceRunning());
  }
  {
    const TSubsystemScope state(TSubsystemState::ServiceStopped);
    EXPECT_TRUE(ServiceExists());
    EXPECT_FALSE(ServiceRunning());
  }
  {
    const TSubsystemScope state(TSubsystemState::ServiceMissing);
    EXPECT_FALSE(ServiceExists());
    EXPECT_FALSE(ServiceRunning());
    // A key left behind, which the manager does not know.
    WriteValue64(SCardSvrPath, "ObjectName", Sz("NT AUTHORITY\\LocalService"));
    WriteValue64(SCardSvrPath, "Start", Dword(2));
    EXPECT_FALSE(ServiceExists());
    EXPECT_FALSE(ServiceRunning());
  }
}

// The start page re-reads the status about once a second through its timer.
TEST(StartPageStatus, FollowsTheServiceBeingStoppedAndStarted) {
  const TSubsystemScope state(TSubsystemState::Healthy);
  TCardmendMainForm form;
  ASSERT_TRUE(AwaitChecks(form));
  const auto shows = [&](TRequirementMark mark) { return ShowsMark(form, *form.PCSCImage, mark); };
  EXPECT_TRUE(form.PCSCRunning());
  EXPECT_TRUE(shows(rmMet));
  EXPECT_EQ(form.LabelPCSC->Text(), " The Smart Card Resource Manager is running.");
  form.Show();

  ASSERT_TRUE(StopSCardSvr());
  const auto waitFor = [&](bool running) {
    const DWORD start = GetTickCount();
    while (form.PCSCRunning() != running && GetTickCount() - start < 5000) Delay(50);
    return form.PCSCRunning() == running;
  };
  EXPECT_TRUE(waitFor(false));
  EXPECT_EQ(form.LabelPCSC->Text(), " The Smart Card Resource Manager is not running.");
  EXPECT_TRUE(shows(rmNotMet));
  ASSERT_EQ(StartSCardSvr(), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_TRUE(waitFor(true));
  EXPECT_EQ(form.LabelPCSC->Text(), " The Smart Card Resource Manager is running.");
  EXPECT_TRUE(shows(rmMet));
}

// A resource manager stuck starting holds every caller of WINSCARD for seconds: the window
// is painted and answers all the same, the requirement marks come at once, the status line
// says it is being checked, and the status follows once found out.
TEST(StartPageStatus, AWinscardThatBlocksLeavesTheWindowAnswering) {
  const TSubsystemScope state(TSubsystemState::Healthy);
  SetWinSCardDelay(2000);
  const TScopeExit unblock([] { SetWinSCardDelay(0); });
  const DWORD start = GetTickCount();
  TCardmendMainForm form;
  ShowActive(form);
  PumpFor(300);
  // Blocked, it would have taken two of the calls' 2 seconds.
  EXPECT_LT(GetTickCount() - start, 2000u);
  EXPECT_FALSE(form.PCSCStatusKnown());
  EXPECT_EQ(form.LabelPCSC->Text(), " Checking the Smart Card Resource Manager ...");
  EXPECT_TRUE(form.PCSCImage->Picture().Empty());
  EXPECT_TRUE(ShowsMark(form, *form.WinImage, rmMet));
  EXPECT_TRUE(ShowsMark(form, *form.AdminImage, rmMet));

  ASSERT_TRUE(AwaitChecks(form));
  EXPECT_TRUE(form.PCSCRunning());
  EXPECT_TRUE(ShowsMark(form, *form.PCSCImage, rmMet));
  EXPECT_EQ(form.LabelPCSC->Text(), " The Smart Card Resource Manager is running.");
}

// Closed while a probe still waits for WINSCARD, the window neither waits for it nor comes
// to harm when the probe ends and answers a window that is gone.
TEST(StartPageStatus, ClosingWhileWinscardBlocksNeitherWaitsNorBreaks) {
  const TSubsystemScope state(TSubsystemState::Healthy);
  SetWinSCardDelay(1000);
  const TScopeExit unblock([] { SetWinSCardDelay(0); });
  auto form = std::make_unique<TCardmendMainForm>();
  ShowActive(*form);
  ASSERT_FALSE(form->PCSCStatusKnown());
  const DWORD start = GetTickCount();
  form.reset();
  EXPECT_LT(GetTickCount() - start, 500u);
  PumpFor(2500);

  SetWinSCardDelay(0);
  TCardmendMainForm next;
  ASSERT_TRUE(AwaitChecks(next));
  EXPECT_TRUE(next.PCSCRunning());
}

// From Windows 7 on a stopped service waits for a reader: the calm mark while none is
// attached, the red one as soon as one is and the service stays stopped.
TEST(StartPageStatus, AwaitsAReaderOnlyWhileNoneIsAttached) {
  const TSubsystemScope state(TSubsystemState::WindowsDefault);
  const TWindowsVersionOverride as(KnownWindows(TKnownWindows::Win10x64));
  TCardmendMainForm form;
  ASSERT_TRUE(AwaitChecks(form));
  EXPECT_EQ(form.PCSCStatus(), TLayerStatus::AwaitingReader);
  EXPECT_TRUE(ShowsMark(form, *form.PCSCImage, rmAwaiting));
  form.Show();
  AttachReaderDevice();
  const DWORD start = GetTickCount();
  while (form.PCSCStatus() == TLayerStatus::AwaitingReader && GetTickCount() - start < 5000) Delay(50);
  EXPECT_EQ(form.PCSCStatus(), TLayerStatus::NotRunning);
  EXPECT_TRUE(ShowsMark(form, *form.PCSCImage, rmNotMet));
  EXPECT_EQ(form.LabelPCSC->Text(), " The Smart Card Resource Manager is not running.");
}

TEST(StartPageMarks, ShowTheRequirementsOfTheRunningWindows) {
  struct TCase {
    const char* Name;
    TRawWindowsVersion Raw;
    TRequirementMark Windows;
  };
  const TCase cases[] = {
      {"98 SE", KnownWindows(TKnownWindows::Win98SE), rmNotMet},
      {"2000", RawVersion(TRelease::Win2000), rmMet},
      {"10", RawVersion(TRelease::Win10x64), rmMet},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TWindowsVersionOverride as(c.Raw);
    TCardmendMainForm form;
    ASSERT_TRUE(AwaitChecks(form));
    EXPECT_TRUE(ShowsMark(form, *form.WinImage, c.Windows));
    // The test runs as an administrator of the prefix.
    EXPECT_TRUE(ShowsMark(form, *form.AdminImage, rmMet));
  }
}
