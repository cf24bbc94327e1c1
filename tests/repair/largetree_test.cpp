// The smart-card database can grow large and deep on a machine that has seen many readers
// and cards; the repairs walk all of it.
#include <gtest/gtest.h>

#include "app/repair/permissionrepair.h"
#include "app/repair/registrycheck.h"
#include "tests/bed/keysecurity.h"
#include "tests/bed/repairfixture.h"

namespace {

const std::string Readers = std::string(CalaisPath) + "\\Readers";

// Every key of the tree carries the repaired list: seven entries from XP on.
void ExpectRepaired(const std::string& path) {
  SCOPED_TRACE(path);
  const TKeySecurity security = ReadKeySecurity(path);
  EXPECT_EQ(security.Owner, "S-1-5-32-544");
  ASSERT_EQ(security.Dacl.size(), 7u);
  EXPECT_EQ(security.Dacl[0], (TAce{ACCESS_ALLOWED_ACE_TYPE, 3, KEY_READ, "S-1-1-0"}));
  EXPECT_EQ(security.Dacl[6], (TAce{ACCESS_ALLOWED_ACE_TYPE, 3, KEY_READ, "S-1-5-32-545"}));
}

}  // namespace

TEST(LargeCalaisTree, TwoThousandReadersAndThirtyLevelsAreRepairedAndVerified) {
  const TWindowsVersionOverride as(RawVersion(TRelease::XPSP3));
  TSmartCardKeys keys;
  keys.Service(SCardSvrPath, {{"ObjectName", Sz("NT AUTHORITY\\LocalService")}});
  for (int i = 0; i < 2000; ++i) CreateKey64(Readers + "\\Reader " + std::to_string(i));
  std::string deepest = std::string(CalaisPath) + "\\SmartCards";
  for (int level = 1; level <= 30; ++level) deepest += "\\Level" + std::to_string(level);
  CreateKey64(deepest);
  ASSERT_TRUE(KeyExists64(deepest));

  TDiagnosticLog log;
  RepairCalaisPermissions(log);
  const std::vector<std::string> texts = Texts(log);
  // One attempt per key was enough.
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "SetRegistryPermissions 1"), 2);
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "SetRegistrySecurity: 0"), 2);
  for (const std::string& path : {std::string(CalaisPath), Readers + "\\Reader 0",
                                  Readers + "\\Reader 1999", deepest})
    ExpectRepaired(path);

  TDiagnosticLog verified;
  EXPECT_EQ(VerifyRegistry(verified), 0);
}
