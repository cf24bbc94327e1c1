#include "app/repair/serviceconfig.h"

#include <gtest/gtest.h>

#include <map>

#include "sysutil/registryfault.h"
#include "tests/bed/repairfixture.h"

namespace {

using TValues = std::vector<std::pair<std::string, TStoredValue>>;

const char* const LocalService = "NT AUTHORITY\\LocalService";
const char* const SvrLine =
    "Setting SCardSrv object name (HKLM\\SYSTEM\\CurrentControlSet\\Services\\SCardSvr)";
const char* const DrvLine =
    "Setting SCardDrv object name (HKLM\\SYSTEM\\CurrentControlSet\\Services\\SCardDrv)";
const char* const StartLine =
    "Checking service start type (HKLM\\SYSTEM\\CurrentControlSet\\Services\\SCardSvr)";

// A service key in disorder: every value the repair may write holds something else.
const TValues Disorder = {
    {"ObjectName", Sz("LocalSystem2")},
    {"Start", Dword(3)},
    {"DependOnGroup", MultiSz({"SmartCardGroup"})},
    {"Type", Dword(16)},
    {"ErrorControl", Dword(7)},
    {"ImagePath", ExpandSz("%SystemRoot%\\system32\\svchost.exe -k LocalServiceAndNoImpersonation")},
    {"DisplayName", Sz("Old name")},
};

std::map<std::string, TStoredValue> ValuesOf(const std::string& key) {
  std::map<std::string, TStoredValue> values;
  for (const char* name : {"ObjectName", "Start", "DependOnGroup", "Group", "Type",
                           "ErrorControl", "ServiceSidType", "ImagePath", "DisplayName",
                           "DependOnService"})
    if (auto value = ReadValue64(key, name)) values[name] = *value;
  return values;
}

// What a key in disorder holds after the repair: `changes` over the disorder, with
// DependOnGroup gone.
std::map<std::string, TStoredValue> After(const TValues& changes) {
  std::map<std::string, TStoredValue> values(Disorder.begin(), Disorder.end());
  values.erase("DependOnGroup");
  for (const auto& [name, value] : changes) values[name] = value;
  return values;
}

const TValues VistaValues = {
    {"ObjectName", Sz(LocalService)},
    {"Start", Dword(2)},
    {"Group", Sz("SmartCardGroup")},
    {"Type", Dword(32)},
    {"ErrorControl", Dword(1)},
    {"ServiceSidType", Dword(1)},
    {"ImagePath", ExpandSz("%SystemRoot%\\system32\\svchost.exe -k LocalService")},
    {"DisplayName", Sz("@%SystemRoot%\\System32\\SCardSvr.dll,-1")},
    {"DependOnService", MultiSz({"PlugPlay"})},
};

TValues Without(TValues values, const std::string& name) {
  std::erase_if(values, [&](const auto& value) { return value.first == name; });
  return values;
}

const TValues Family52Values = {
    {"ObjectName", Sz(LocalService)},
    {"Start", Dword(2)},
    {"Group", Sz("SmartCardGroup")},
    {"Type", Dword(32)},
    {"ErrorControl", Dword(0)},
    {"ImagePath", ExpandSz("%SystemRoot%\\system32\\SCardSvr.exe")},
    {"DisplayName", Sz("Smart Card")},
};

struct TFamilyCase {
  TRelease Release;
  TValues Changes;
};

const TFamilyCase FamilyCases[] = {
    {TRelease::Win2000, {{"ObjectName", Sz("LocalSystem")}, {"Start", Dword(2)}}},
    {TRelease::XPSP1, {{"ObjectName", Sz(LocalService)}, {"Start", Dword(2)}}},
    {TRelease::XPSP2,
     {{"ObjectName", Sz(LocalService)}, {"Start", Dword(2)}, {"Group", Sz("SmartCardGroup")}}},
    {TRelease::XPSP3, {{"ObjectName", Sz(LocalService)}, {"Start", Dword(2)}}},
    {TRelease::XPx64, Family52Values},
    {TRelease::Server2003, Family52Values},
    {TRelease::Server2003x64, Family52Values},
    {TRelease::Vista, VistaValues},
    {TRelease::Vistax64, VistaValues},
    // Windows 7 and later host the service in their own svchost group.
    {TRelease::Win7x64, Without(VistaValues, "ImagePath")},
    {TRelease::Win10x64, Without(VistaValues, "ImagePath")},
};

}  // namespace

TEST(ServiceConfiguration, WritesWhatEachReleaseExpects) {
  for (const TFamilyCase& c : FamilyCases) {
    SCOPED_TRACE(ReleaseName(c.Release));
    const TWindowsVersionOverride as(RawVersion(c.Release));
    TSmartCardKeys keys;
    keys.Service(SCardSvrPath, Disorder);
    TDiagnosticLog log;
    ConfigureSCardSvr(log);
    EXPECT_EQ(ValuesOf(SCardSvrPath), After(c.Changes));
    EXPECT_EQ(Texts(log), std::vector<std::string>{SvrLine});
  }
}

TEST(ServiceConfiguration, LeavesAMissingServiceKeyMissing) {
  const TWindowsVersionOverride as(RawVersion(TRelease::Vista));
  TSmartCardKeys keys;
  TDiagnosticLog log;
  ConfigureSCardSvr(log);
  ConfigureSCardDrv(log);
  CheckServiceStartType(log);
  EXPECT_FALSE(KeyExists64(SCardSvrPath));
  EXPECT_FALSE(KeyExists64(SCardDrvPath));
  EXPECT_EQ(Texts(log), (std::vector<std::string>{
                            SvrLine, DrvLine, StartLine,
                            "SYSTEM\\CurrentControlSet\\Services\\SCardSvr not found"}));
}

// The groups stop at the first value Windows refuses; the values before it stay written.
TEST(ServiceConfiguration, StopsAtTheFirstFailingWrite) {
  struct TCase {
    TRelease Release;
    const char* Refused;
    TValues Changes;
    bool DependencyGone = true;  // the refusal came after DependOnGroup was deleted
    TRegistryCall Call = TRegistryCall::Write;
  };
  const TStoredValue group = Sz("SmartCardGroup");
  const TCase cases[] = {
      // In the Vista group a failure ends only that group.
      {TRelease::Vista, "ImagePath",
       {{"ObjectName", Sz(LocalService)}, {"Start", Dword(2)}, {"Group", group},
        {"Type", Dword(32)}, {"ErrorControl", Dword(1)}, {"ServiceSidType", Dword(1)}}},
      {TRelease::Vista, "Type",
       {{"ObjectName", Sz(LocalService)}, {"Start", Dword(2)}, {"Group", group}}},
      {TRelease::Server2003, "ImagePath",
       {{"ObjectName", Sz(LocalService)}, {"Start", Dword(2)}, {"Group", group},
        {"Type", Dword(32)}, {"ErrorControl", Dword(0)}}},
      {TRelease::XPSP3, "ObjectName", {}, false},
      {TRelease::Vista, "Start", {{"ObjectName", Sz(LocalService)}}, false},
      // A dependency that may not be deleted ends the step before the group is written.
      {TRelease::XPSP2, "DependOnGroup", {{"ObjectName", Sz(LocalService)}, {"Start", Dword(2)}},
       false, TRegistryCall::DeleteValue},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string(ReleaseName(c.Release)) + " refusing " + c.Refused);
    const TWindowsVersionOverride as(RawVersion(c.Release));
    TSmartCardKeys keys;
    keys.Service(SCardSvrPath, Disorder);
    const std::string refused = c.Refused;
    const TRegistryFaultScope fault([&](TRegistryCall call, std::string_view name) -> LONG {
      return call == c.Call && name == refused ? ERROR_ACCESS_DENIED : ERROR_SUCCESS;
    });
    TDiagnosticLog log;
    ConfigureSCardSvr(log);
    auto expected = After(c.Changes);
    if (!c.DependencyGone) expected["DependOnGroup"] = MultiSz({"SmartCardGroup"});
    EXPECT_EQ(ValuesOf(SCardSvrPath), expected);
  }
}

TEST(ServiceConfiguration, ChecksTheStartType) {
  struct TCase {
    const char* Name;
    std::optional<TStoredValue> Start;
    std::vector<std::string> Lines;
    std::optional<TStoredValue> After;
  };
  const TCase cases[] = {
      {"automatic", Dword(2), {StartLine}, Dword(2)},
      {"manual", Dword(3), {StartLine, "Invalid start type", "Start type changed"}, Dword(2)},
      {"disabled", Dword(4), {StartLine, "Invalid start type", "Start type changed"}, Dword(2)},
      {"boot", Dword(0), {StartLine, "Invalid start type", "Start type changed"}, Dword(2)},
      {"missing", std::nullopt, {StartLine, "Cannot access start type"}, std::nullopt},
      // Not a number: the check gives up silently and leaves it to the configuration step.
      {"text", Sz("2"), {StartLine}, Sz("2")},
      {"short binary", Binary({2, 0}), {StartLine}, Binary({2, 0})},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TSmartCardKeys keys;
    TValues values = {{"ObjectName", Sz(LocalService)}};
    if (c.Start) values.emplace_back("Start", *c.Start);
    keys.Service(SCardSvrPath, values);
    TDiagnosticLog log;
    CheckServiceStartType(log);
    EXPECT_EQ(Texts(log), c.Lines);
    EXPECT_EQ(ReadValue64(SCardSvrPath, "Start"), c.After);
  }
}

TEST(ServiceConfiguration, AStartTypeStoredAsTextIsRewrittenAsANumber) {
  const TWindowsVersionOverride as(RawVersion(TRelease::XPSP3));
  TSmartCardKeys keys;
  keys.Service(SCardSvrPath, {{"Start", Sz("4")}, {"Group", Binary({1, 2, 3})}});
  TDiagnosticLog log;
  CheckServiceStartType(log);
  ConfigureSCardSvr(log);
  EXPECT_EQ(ReadValue64(SCardSvrPath, "Start"), Dword(2));
  EXPECT_EQ(ReadValue64(SCardSvrPath, "ObjectName"), Sz(LocalService));
}

TEST(ServiceConfiguration, TreatsTheCompanionServicePerRelease) {
  enum TOutcome { Untouched, AccountSet, Deleted };
  const std::pair<TRelease, TOutcome> cases[] = {
      {TRelease::Win2000, Untouched},   {TRelease::XPSP2, AccountSet},
      {TRelease::XPSP3, AccountSet},    {TRelease::XPx64, Deleted},
      {TRelease::Server2003, Deleted},  {TRelease::Server2003x64, Deleted},
      {TRelease::Vista, Deleted},       {TRelease::Vistax64, Deleted},
      {TRelease::Win10x64, Deleted},
  };
  for (const auto& [release, outcome] : cases) {
    SCOPED_TRACE(ReleaseName(release));
    const TWindowsVersionOverride as(RawVersion(release));
    TSmartCardKeys keys;
    keys.Service(SCardDrvPath, {{"ObjectName", Sz("LocalSystem")}, {"Start", Dword(3)}});
    CreateKey64(std::string(SCardDrvPath) + "\\Enum\\Deeper");
    TDiagnosticLog log;
    ConfigureSCardDrv(log);
    EXPECT_EQ(Texts(log), std::vector<std::string>{DrvLine});
    if (outcome == Deleted) {
      EXPECT_FALSE(KeyExists64(SCardDrvPath));
      continue;
    }
    EXPECT_EQ(ReadValue64(SCardDrvPath, "ObjectName"),
              Sz(outcome == AccountSet ? LocalService : "LocalSystem"));
    EXPECT_EQ(ReadValue64(SCardDrvPath, "Start"), Dword(3));
    EXPECT_TRUE(KeyExists64(std::string(SCardDrvPath) + "\\Enum\\Deeper"));
  }
}

TEST(ServiceConfiguration, NeverCreatesTheCompanionKey) {
  for (const TRelease release : {TRelease::Win2000, TRelease::XPSP2, TRelease::Vista}) {
    SCOPED_TRACE(ReleaseName(release));
    const TWindowsVersionOverride as(RawVersion(release));
    TSmartCardKeys keys;
    TDiagnosticLog log;
    ConfigureSCardDrv(log);
    EXPECT_FALSE(KeyExists64(SCardDrvPath));
  }
}
