#include "app/repair/registrycheck.h"

#include <gtest/gtest.h>

#include <aclapi.h>

#include "sysutil/registryfault.h"
#include "tests/bed/repairfixture.h"

namespace {

using TValues = std::vector<std::pair<std::string, TStoredValue>>;
using TLines = std::vector<std::string>;

const char* const LocalService = "NT AUTHORITY\\LocalService";

const TLines CalaisInOrder = {
    "Software\\Microsoft\\Cryptography\\Calais successfully opened",
    "HKLM\\Software\\Microsoft\\Cryptography\\Calais\\Current successfully opened",
    "HKLM\\Software\\Microsoft\\Cryptography\\Calais\\Readers successfully opened",
    "HKLM\\Software\\Microsoft\\Cryptography\\Calais\\Smartcards successfully opened",
};
const char* const SvrOpened = "HKLM\\SYSTEM\\CurrentControlSet\\Services\\SCardSvr successfully opened";
const char* const SvrMissing = "HKLM\\SYSTEM\\CurrentControlSet\\Services\\SCardSvr could not be opened";
const char* const DrvOpened = "HKLM\\SYSTEM\\CurrentControlSet\\Services\\SCardDrv successfully opened";
const char* const DrvMissing = "HKLM\\SYSTEM\\CurrentControlSet\\Services\\SCardDrv could not be opened";
const char* const Exists = "  ObjectName exists";
const char* const NoAccount = "  ObjectName does not exists";
const char* const BadAccount = "  ObjectName has an invalid value";

TLines Then(TLines lines, const TLines& more) {
  lines.insert(lines.end(), more.begin(), more.end());
  return lines;
}

struct TCase {
  const char* Name;
  TRelease Release;
  std::optional<TValues> Svr;  // empty: no SCardSvr key
  std::optional<TValues> Drv;  // empty: no SCardDrv key
  int Result;
  TLines Lines;
};

const TValues SvrLocalService = {{"ObjectName", Sz(LocalService)}};
const TValues SvrLocalSystem = {{"ObjectName", Sz("LocalSystem")}};
const TValues SvrGrouped = {{"ObjectName", Sz(LocalService)}, {"Group", Sz("SmartCardGroup")}};

const TCase Cases[] = {
    {"XP SP3 in order", TRelease::XPSP3, SvrLocalService, SvrLocalService, 0,
     Then(CalaisInOrder, {SvrOpened, Exists, DrvOpened, Exists})},
    {"2000 in order", TRelease::Win2000, SvrLocalSystem, SvrLocalSystem, 0,
     Then(CalaisInOrder, {SvrOpened, Exists, DrvOpened, Exists})},
    {"2003 without companion", TRelease::Server2003, SvrGrouped, std::nullopt, 0,
     Then(CalaisInOrder, {SvrOpened, Exists, DrvMissing})},
    {"Vista without companion", TRelease::Vistax64, SvrLocalService, std::nullopt, 0,
     Then(CalaisInOrder, {SvrOpened, Exists, DrvMissing})},
    {"Vista companion as LocalSystem", TRelease::Vista, SvrLocalService, SvrLocalSystem, 0,
     Then(CalaisInOrder, {SvrOpened, Exists, DrvOpened, Exists})},
    {"2000 with the XP account", TRelease::Win2000, SvrLocalService, SvrLocalSystem, 3,
     Then(CalaisInOrder, {SvrOpened, Exists, BadAccount})},
    {"XP account in another case", TRelease::XPSP3, TValues{{"ObjectName", Sz("NT Authority\\localservice")}},
     TValues{{"ObjectName", Sz("nt authority\\LocalService")}}, 0,
     Then(CalaisInOrder, {SvrOpened, Exists, DrvOpened, Exists})},
    {"2000 account in lower case", TRelease::Win2000, TValues{{"ObjectName", Sz("localsystem")}},
     SvrLocalSystem, 0, Then(CalaisInOrder, {SvrOpened, Exists, DrvOpened, Exists})},
    {"an account one letter off", TRelease::XPSP3, TValues{{"ObjectName", Sz("NT AUTHORITY\\LocalServic")}},
     SvrLocalService, 3, Then(CalaisInOrder, {SvrOpened, Exists, BadAccount})},
    {"account stored as a number", TRelease::XPSP3, TValues{{"ObjectName", Dword(0)}},
     SvrLocalService, 3, Then(CalaisInOrder, {SvrOpened, Exists, BadAccount})},
    {"no account", TRelease::XPSP3, TValues{{"Start", Dword(2)}}, SvrLocalService, 4,
     Then(CalaisInOrder, {SvrOpened, NoAccount})},
    {"no service key", TRelease::XPSP3, std::nullopt, SvrLocalService, 5,
     Then(CalaisInOrder, {SvrMissing})},
    {"XP SP2 without group", TRelease::XPSP2, SvrLocalService, SvrLocalService, 6,
     Then(CalaisInOrder, {SvrOpened, Exists, "  Group has an invalid value"})},
    {"XP SP2 group as binary", TRelease::XPSP2,
     TValues{{"ObjectName", Sz(LocalService)}, {"Group", Binary({'S', 0})}}, SvrLocalService, 6,
     Then(CalaisInOrder, {SvrOpened, Exists, "  Group has an invalid value"})},
    {"XP SP2 grouped", TRelease::XPSP2, SvrGrouped, SvrLocalService, 0,
     Then(CalaisInOrder, {SvrOpened, Exists, DrvOpened, Exists})},
    {"XP SP3 without group", TRelease::XPSP3, SvrLocalService, SvrLocalService, 0,
     Then(CalaisInOrder, {SvrOpened, Exists, DrvOpened, Exists})},
    {"XP companion as LocalSystem", TRelease::XPSP3, SvrLocalService, SvrLocalSystem, 7,
     Then(CalaisInOrder, {SvrOpened, Exists, DrvOpened, Exists, BadAccount})},
    {"2003 companion with the XP account", TRelease::Server2003, SvrLocalService, SvrLocalService, 7,
     Then(CalaisInOrder, {SvrOpened, Exists, DrvOpened, Exists, BadAccount})},
    {"companion without account", TRelease::XPSP3, SvrLocalService, TValues{{"Start", Dword(3)}}, 8,
     Then(CalaisInOrder, {SvrOpened, Exists, DrvOpened, NoAccount})},
};

}  // namespace

TEST(RegistryVerification, JudgesTheServiceKeysPerRelease) {
  for (const TCase& c : Cases) {
    SCOPED_TRACE(c.Name);
    const TWindowsVersionOverride as(RawVersion(c.Release));
    TSmartCardKeys keys;
    if (c.Svr) keys.Service(SCardSvrPath, *c.Svr);
    if (c.Drv) keys.Service(SCardDrvPath, *c.Drv);
    TDiagnosticLog log;
    EXPECT_EQ(VerifyRegistry(log), c.Result);
    EXPECT_EQ(Texts(log), c.Lines);
  }
}

TEST(RegistryVerification, RecreatesMissingSubKeys) {
  const TWindowsVersionOverride as(RawVersion(TRelease::XPSP3));
  TSmartCardKeys keys;
  keys.Service(SCardSvrPath, SvrLocalService);
  DeleteKey64(std::string(CalaisPath) + "\\Readers");
  DeleteKey64(std::string(CalaisPath) + "\\SmartCards");
  TDiagnosticLog log;
  EXPECT_EQ(VerifyRegistry(log), 0);
  EXPECT_EQ(Texts(log), Then(CalaisInOrder, {SvrOpened, Exists, DrvMissing}));
  EXPECT_TRUE(KeyExists64(std::string(CalaisPath) + "\\Readers"));
  EXPECT_TRUE(KeyExists64(std::string(CalaisPath) + "\\SmartCards"));
}

// The report-only mode finds the same gaps and leaves them: the keys stay missing.
TEST(RegistryVerification, WithoutCreatingAMissingSubKeyGivesTwoAndStaysMissing) {
  const TWindowsVersionOverride as(RawVersion(TRelease::XPSP3));
  TSmartCardKeys keys;
  keys.Service(SCardSvrPath, SvrLocalService);
  DeleteKey64(std::string(CalaisPath) + "\\Readers");
  TDiagnosticLog log;
  EXPECT_EQ(VerifyRegistry(log, false), 2);
  EXPECT_FALSE(KeyExists64(std::string(CalaisPath) + "\\Readers"));
  EXPECT_TRUE(KeyExists64(std::string(CalaisPath) + "\\SmartCards"));
  TDiagnosticLog again;
  EXPECT_EQ(VerifyRegistry(again), 0);  // the repair's mode still makes it
  EXPECT_TRUE(KeyExists64(std::string(CalaisPath) + "\\Readers"));
}

TEST(RegistryVerification, ASubKeyThatCannotBeMadeGivesTwoAndTheOthersAreStillChecked) {
  const TWindowsVersionOverride as(RawVersion(TRelease::Vista));
  TSmartCardKeys keys;
  keys.Service(SCardSvrPath, SvrLocalService);
  DeleteKey64(std::string(CalaisPath) + "\\Current");
  const TRegistryFaultScope refuse([](TRegistryCall call, std::string_view name) -> LONG {
    return call == TRegistryCall::Create && name.ends_with("\\Current") ? ERROR_ACCESS_DENIED
                                                                         : ERROR_SUCCESS;
  });
  TDiagnosticLog log;
  EXPECT_EQ(VerifyRegistry(log), 2);
  TLines expected = CalaisInOrder;
  expected[1] = "HKLM\\Software\\Microsoft\\Cryptography\\Calais\\Current could not be opened";
  EXPECT_EQ(Texts(log), Then(expected, {SvrOpened, Exists, DrvMissing}));

  // A later failure decides over the sub-key's.
  keys.Service(SCardSvrPath, {{"ObjectName", Sz("LocalSystem")}});
  TDiagnosticLog again;
  EXPECT_EQ(VerifyRegistry(again), 3);
}

TEST(RegistryVerification, GivesOneWithoutCalais) {
  const TWindowsVersionOverride as(RawVersion(TRelease::XPSP3));
  TSmartCardKeys keys;
  keys.Service(SCardSvrPath, SvrLocalService);
  DeleteKey64(CalaisPath);
  TDiagnosticLog log;
  EXPECT_EQ(VerifyRegistry(log), 1);
  EXPECT_EQ(Texts(log), TLines{"HKLM\\Software\\Microsoft\\Cryptography\\Calais could not be opened"});
  EXPECT_FALSE(KeyExists64(CalaisPath));
}

// Full access refused: only reading is allowed to everyone.
TEST(RegistryVerification, GivesOneWhenCalaisRefusesFullAccess) {
  const TWindowsVersionOverride as(RawVersion(TRelease::XPSP3));
  TSmartCardKeys keys;
  keys.Service(SCardSvrPath, SvrLocalService);
  const TRegKey calais(OpenKey64(CalaisPath, READ_CONTROL | WRITE_DAC));
  ASSERT_TRUE(calais);
  SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
  PSID everyone = nullptr;
  ASSERT_TRUE(AllocateAndInitializeSid(&world, 1, 0, 0, 0, 0, 0, 0, 0, 0, &everyone));
  std::vector<BYTE> buffer(256);
  PACL acl = reinterpret_cast<PACL>(buffer.data());
  InitializeAcl(acl, static_cast<DWORD>(buffer.size()), ACL_REVISION);
  AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ, everyone);
  SECURITY_DESCRIPTOR descriptor;
  InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
  SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE);
  ASSERT_EQ(RegSetKeySecurity(calais.Get(), DACL_SECURITY_INFORMATION, &descriptor), ERROR_SUCCESS);

  TDiagnosticLog log;
  const int result = VerifyRegistry(log);

  // Open again before the fixture puts the key back.
  SetSecurityDescriptorDacl(&descriptor, FALSE, nullptr, FALSE);
  RegSetKeySecurity(calais.Get(), DACL_SECURITY_INFORMATION, &descriptor);
  FreeSid(everyone);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(Texts(log), TLines{"HKLM\\Software\\Microsoft\\Cryptography\\Calais could not be opened"});
}
