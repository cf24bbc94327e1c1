// The one judgement the wizard, /check and the end of /repair share, asked of the test
// prefix's subsystem as each release would see it: Windows 7 and later leave the resource
// manager stopped while no reader is attached, and from 8 on it has two companions.
#include "app/repair/healthcheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/repair/companions.h"
#include "app/repair/diaglog.h"
#include "app/repair/pcsc.h"
#include "app/repair/servicestate.h"
#include "sysutil/handles.h"
#include "sysutil/registryaccess.h"
#include "sysutil/registryvalues.h"
#include "tests/bed/knownwindows.h"
#include "tests/bed/scsubsystem.h"

namespace {

using S = TSubsystemState;
using K = TKnownWindows;
using L = TLayerStatus;

bool Traced(const TDiagnosticLog& log, const std::string& text) {
  return std::any_of(log.Lines().begin(), log.Lines().end(),
                     [&](const std::string& line) { return line.substr(14) == text; });
}

const char AwaitingLine[] =
    "PC/SC service is stopped until a reader is attached, as Windows has it, and its "
    "configuration is in order";
const char DeviceEnumDisabledLine[] = "Smart Card Device Enumeration service (ScDeviceEnum) is disabled";

struct TJudgement {
  const char* Label;
  K Release;
  std::vector<S> States;
  bool InOrder;
  L Status;
  const char* Traced;  // a line the judgement's trace must hold, or nullptr
};
void PrintTo(const TJudgement& c, std::ostream* out) { *out << c.Label; }

const TJudgement Judgements[] = {
    {"VistaDefaultIsStopped", K::Vistax64SP2, {S::WindowsDefault}, false, L::NotRunning, nullptr},
    {"Win7Default", K::Win7x64SP1, {S::WindowsDefault}, true, L::AwaitingReader, AwaitingLine},
    // Nothing starts an automatic service on 7 once it stopped.
    {"Win7AutomaticStopped", K::Win7x64SP1, {S::ServiceStopped}, false, L::NotRunning, nullptr},
    {"Win7DefaultWithReader", K::Win7x64SP1, {S::WindowsDefault, S::ReaderAttached}, false, L::NotRunning, nullptr},
    {"Win81Default", K::Win81x64, {S::WindowsDefault}, true, L::AwaitingReader, AwaitingLine},
    {"Win10Default", K::Win10x64, {S::WindowsDefault}, true, L::AwaitingReader, AwaitingLine},
    {"Win10AutomaticStopped", K::Win10x64, {S::ServiceStopped}, true, L::AwaitingReader, AwaitingLine},
    {"Win10DefaultWithReader", K::Win10x64, {S::WindowsDefault, S::ReaderAttached}, false, L::NotRunning, nullptr},
    {"Win10RunningWithReader", K::Win10x64, {S::ReaderAttached}, true, L::Running, nullptr},
    {"Win10DefaultCurrentMissing", K::Win10x64, {S::WindowsDefault, S::CurrentMissing}, false, L::NotRunning, nullptr},
    {"Win10DefaultDisabled", K::Win10x64, {S::WindowsDefault, S::StartDisabled}, false, L::NotRunning, nullptr},
    {"Win10DefaultAccountWrong", K::Win10x64, {S::WindowsDefault, S::ObjectNameWrong}, false, L::NotRunning, nullptr},
    {"Win10DefaultDeviceEnumDisabled", K::Win10x64, {S::WindowsDefault, S::DeviceEnumDisabled}, false,
     L::AwaitingReader, DeviceEnumDisabledLine},
    {"Win10RunningDeviceEnumDisabled", K::Win10x64, {S::DeviceEnumDisabled}, false, L::Running,
     DeviceEnumDisabledLine},
    {"Win11Default", K::Win11x64, {S::WindowsDefault}, true, L::AwaitingReader, AwaitingLine},
    // Before 8 the companions are not looked at.
    {"Win7DeviceEnumDisabled", K::Win7x64SP1, {S::DeviceEnumDisabled}, true, L::Running, nullptr},
};

class SubsystemJudgement : public testing::TestWithParam<TJudgement> {};

TEST_P(SubsystemJudgement, SharedByTheWizardAndTheUnattendedModes) {
  const TJudgement& c = GetParam();
  const TSubsystemScope scope(c.States);
  ASSERT_FALSE(HasFatalFailure());
  const TWindowsVersionOverride as(KnownWindows(c.Release));
  TPCSCLibrary pcsc;
  pcsc.Load();
  const std::string before = SubsystemExport();
  TDiagnosticLog log;
  EXPECT_EQ(SubsystemInOrder(log, pcsc), c.InOrder);
  EXPECT_EQ(LayerStatus(pcsc), c.Status);
  if (c.Traced) {
    EXPECT_TRUE(Traced(log, c.Traced));
  }
  EXPECT_EQ(Traced(log, AwaitingLine), c.Status == L::AwaitingReader);
  EXPECT_EQ(SubsystemExport(), before);
}

INSTANTIATE_TEST_SUITE_P(Cases, SubsystemJudgement, testing::ValuesIn(Judgements),
                         [](const auto& param) { return std::string(param.param.Label); });

DWORD RegistryStart(const char* service) {
  const TRegKey key = OpenRegKey(
      HKEY_LOCAL_MACHINE, std::string("SYSTEM\\CurrentControlSet\\Services\\") + service, KEY_READ);
  DWORD start = 0;
  if (key) ReadRegDword(key.Get(), "Start", start);
  return start;
}

// From Windows 8 on a disabled ScDeviceEnum starts on demand again, for the manager at once;
// before 8 it is not touched.
TEST(Companions, ADisabledOneStartsOnDemandAgainFromWindows8On) {
  for (const K release : {K::XPSP3, K::Vistax64SP2, K::Win7x64SP1, K::Win81x64, K::Win10x64}) {
    const bool looked = release == K::Win81x64 || release == K::Win10x64;
    SCOPED_TRACE(looked ? "8 and later" : "before 8");
    const TSubsystemScope scope(S::DeviceEnumDisabled);
    const TWindowsVersionOverride as(KnownWindows(release));
    TDiagnosticLog log;
    EnableCompanions(log);
    const DWORD expected = looked ? SERVICE_DEMAND_START : SERVICE_DISABLED;
    EXPECT_EQ(ServiceStartType("ScDeviceEnum"), expected);
    EXPECT_EQ(RegistryStart("ScDeviceEnum"), expected);
    EXPECT_EQ(ServiceStartType("CertPropSvc"), static_cast<DWORD>(SERVICE_DEMAND_START));
    EXPECT_EQ(Traced(log, "Smart Card Device Enumeration service (ScDeviceEnum) set to start on demand"),
              looked);
    TDiagnosticLog check;
    EXPECT_TRUE(CompanionsInOrder(check));
  }
}

// A missing companion is reported and stays missing: the repair creates no service.
TEST(Companions, AMissingOneIsReportedAndNotCreated) {
  const TSubsystemScope scope;
  const TWindowsVersionOverride as(KnownWindows(K::Win10x64));
  {
    const TServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    const TServiceHandle service(OpenServiceW(manager.Get(), L"CertPropSvc", DELETE));
    ASSERT_TRUE(service && DeleteService(service.Get()));
  }
  TDiagnosticLog log;
  EXPECT_FALSE(CompanionsInOrder(log));
  EXPECT_TRUE(Traced(log, "Certificate Propagation service (CertPropSvc) does not exist"));
  EnableCompanions(log);
  EXPECT_FALSE(ServiceStartType("CertPropSvc"));
}

}  // namespace
