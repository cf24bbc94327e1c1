#include "app/repair/permissionrepair.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "app/repair/diaglog.h"
#include "sysutil/registryaccess.h"
#include "sysutil/security.h"
#include "tests/bed/calaisrights.h"
#include "tests/bed/keysecurity.h"
#include "tests/bed/knownwindows.h"

// Key security lives only in the running wineserver, which the test bed keeps alive for the
// whole run: whatever a test leaves changed, every later test program sees. So every key
// touched here is put back or deleted.

namespace {

using namespace calaisrights;

const std::string Calais = "Software\\Microsoft\\Cryptography\\Calais";

constexpr BYTE Denied = ACCESS_DENIED_ACE_TYPE;

const std::vector<TAce> Open = {{Allowed, 0, KEY_ALL_ACCESS, Everyone}};
// Keeps its DACL and owner against everyone, but may be read and deleted.
const std::vector<TAce> Refusing = {{Denied, 0, WRITE_DAC | WRITE_OWNER, Everyone},
                                    {Allowed, 0, KEY_ALL_ACCESS, Everyone}};

using TLines = std::vector<std::string>;

// What the trace says between the key's name and the result of applying the DACL.
const TLines Win2000Steps = {
    "dwAclSize 1: 72",
    "dwAclSize 2: 72",
    "InitializeAcl OK",
    "AddAccessAllowedAce Everyone OK",
    "AddAccessAllowedAce System OK",
    "AddAccessAllowedAce Admin OK",
    "InitializeSecurityDescriptor OK",
    "SetSecurityDescriptorDacl OK",
};
const TLines LaterSids = {
    "AllocateAndInitializeSID LocalServiceSid OK",
    "AllocateAndInitializeSID WinCreatorOwnerSid OK",
    "AllocateAndInitializeSID WinBuiltinPowerUsersSid OK",
    "AllocateAndInitializeSID WinBuiltinUsersSid OK",
};
const TLines LaterSteps = {
    "AllocateAndInitializeSID LocalServiceSid OK",
    "AllocateAndInitializeSID WinCreatorOwnerSid OK",
    "AllocateAndInitializeSID WinBuiltinPowerUsersSid OK",
    "AllocateAndInitializeSID WinBuiltinUsersSid OK",
    "dwAclSize 1: 72",
    "dwAclSize 2: 176",
    "InitializeAcl OK",
    "AddAccessAllowedAce Everyone OK",
    "AddAccessAllowedAce System OK",
    "AddAccessAllowedAce Admin OK",
    "AddAccessAllowedAce Local Service OK",
    "AddAccessAllowedAce Creator/Owner OK",
    "AddAccessAllowedAce PowerUser OK",
    "AddAccessAllowedAce User OK",
    "InitializeSecurityDescriptor OK",
    "SetSecurityDescriptorDacl OK",
};

TLines Join(std::initializer_list<TLines> parts) {
  TLines all;
  for (const TLines& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// One whole attempt on HKLM\`path`.
TLines Attempt(const std::string& path, const TLines& steps, int applied) {
  return Join({{"SetRegistryPermissions 1", "SetRegistryPermissions 2: MACHINE\\" + path},
               steps,
               {"SetRegistrySecurity: " + std::to_string(applied)}});
}

// The texts behind the time stamps.
TLines Texts(const TDiagnosticLog& log) {
  TLines texts;
  for (const std::string& line : log.Lines())
    texts.push_back(line.size() >= 14 && line.substr(12, 2) == "  " ? line.substr(14)
                                                                     : "(no stamp) " + line);
  return texts;
}

// The key names the trace gives its attempts, in order.
TLines AttemptedKeys(const TDiagnosticLog& log) {
  const std::string prefix = "SetRegistryPermissions 2: ";
  TLines keys;
  for (const std::string& text : Texts(log))
    if (text.starts_with(prefix)) keys.push_back(text.substr(prefix.size()));
  return keys;
}

struct TPlanted {
  std::string Path;  // below the fixture's base
  const char* Owner;
  std::vector<TAce> Dacl;
};

// Keys of the test's own below HKLM\Software\CardmendTest in the 64-bit view, removed at
// the end. Other owners than the test's own need the restore privilege.
class PermissionRepair : public ::testing::Test {
 protected:
  static constexpr const char* Top = "Software\\CardmendTest";
  static constexpr const char* Base = "Software\\CardmendTest\\Permissions";

  void SetUp() override { ForceDeleteKey(Base); }
  void TearDown() override {
    ForceDeleteKey(Base);
    const TRegKey top = OpenRegKey(HKEY_LOCAL_MACHINE, Top, KEY_READ);
    if (top && RegSubKeyNames(top.Get()).empty()) DeleteRegKeyTree(HKEY_LOCAL_MACHINE, Top);
  }

  static std::string Path(const std::string& relative) {
    return std::string(Base) + "\\" + relative;
  }

  // Creates the keys, then gives them owner and DACL from the deepest up, so a key that
  // shuts out its parent's readers can still get sub-keys.
  static void Plant(const std::string& below, const std::vector<TPlanted>& keys) {
    for (const TPlanted& key : keys)
      ASSERT_TRUE(CreateRegKey(HKEY_LOCAL_MACHINE, below + "\\" + key.Path, KEY_READ)) << key.Path;
    for (auto it = keys.rbegin(); it != keys.rend(); ++it)
      ASSERT_TRUE(WriteKeySecurity(below + "\\" + it->Path, it->Owner, it->Dacl)) << it->Path;
  }

  const TPrivilegeScope FRestore{"SeRestorePrivilege"};
};

}  // namespace

TEST_F(PermissionRepair, GivesTheTreeTheDaclOfTheRunningWindowsAndAdministratorsAsOwner) {
  struct TCase {
    TKnownWindows Release;
    const TLines& Steps;
    const std::vector<TAce>& Dacl;
  };
  const TCase cases[] = {
      {TKnownWindows::Win2000SP4, Win2000Steps, Win2000Dacl},
      {TKnownWindows::XPSP2, LaterSteps, LaterDacl},
      {TKnownWindows::Server2003SP2, LaterSteps, LaterDacl},
      {TKnownWindows::Win7x64SP1, LaterSteps, LaterDacl},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.Release));
    ForceDeleteKey(Base);
    Plant(Base, {{"Tree", LocalSystem, Open},
                 {"Tree\\a", LocalSystem, Open},
                 {"Tree\\a\\deep", LocalSystem, Open},
                 {"Tree\\z", LocalSystem, Open}});
    const TWindowsVersionOverride as(KnownWindows(c.Release));
    TDiagnosticLog log;
    EXPECT_EQ(SetRegistryPermissions(log, HKEY_LOCAL_MACHINE, Path("Tree"), true), 0);
    EXPECT_EQ(Texts(log), Attempt(Path("Tree"), c.Steps, 0));
    for (const char* key : {"Tree", "Tree\\a", "Tree\\a\\deep", "Tree\\z"}) {
      SCOPED_TRACE(key);
      const TKeySecurity security = ReadKeySecurity(Path(key));
      EXPECT_EQ(security.Owner, Administrators);
      EXPECT_EQ(security.Dacl, c.Dacl);
    }
  }
}

TEST_F(PermissionRepair, WithoutRecursionOnlyTheKeyChanges) {
  Plant(Base, {{"Tree", LocalSystem, Open}, {"Tree\\a", LocalSystem, Open}});
  const TWindowsVersionOverride as(KnownWindows(TKnownWindows::XPSP3));
  TDiagnosticLog log;
  EXPECT_EQ(SetRegistryPermissions(log, HKEY_LOCAL_MACHINE, Path("Tree\\"), false), 0);
  EXPECT_EQ(Texts(log), Attempt(Path("Tree\\"), LaterSteps, 0));
  EXPECT_EQ(ReadKeySecurity(Path("Tree")).Dacl, LaterDacl);
  EXPECT_EQ(ReadKeySecurity(Path("Tree")).Owner, Administrators);
  EXPECT_EQ(ReadKeySecurity(Path("Tree\\a")).Dacl, Open);
  EXPECT_EQ(ReadKeySecurity(Path("Tree\\a")).Owner, LocalSystem);
}

TEST_F(PermissionRepair, StopsEarlyWithoutTouchingTheKey) {
  struct TCase {
    const char* Name;
    std::optional<TKnownWindows> Release;
    HKEY Root;
    int Result;
    TLines Trace;
  };
  const std::string tree = Path("Tree");
  const TCase cases[] = {
      {"performance data", std::nullopt, HKEY_PERFORMANCE_DATA, 5, {"SetRegistryPermissions 1"}},
      {"current config", std::nullopt, HKEY_CURRENT_CONFIG, 5, {"SetRegistryPermissions 1"}},
      {"Windows 98",
       TKnownWindows::Win98SE,
       HKEY_LOCAL_MACHINE,
       10,
       {"SetRegistryPermissions 1", "SetRegistryPermissions 2: MACHINE\\" + tree}},
  };
  Plant(Base, {{"Tree", LocalSystem, Open}, {"Tree\\a", LocalSystem, Open}});
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    std::optional<TWindowsVersionOverride> as;
    if (c.Release) as.emplace(KnownWindows(*c.Release));
    TDiagnosticLog log;
    EXPECT_EQ(SetRegistryPermissions(log, c.Root, tree, true), c.Result);
    EXPECT_EQ(Texts(log), c.Trace);
    for (const std::string& key : {tree, tree + "\\a"}) {
      const TKeySecurity security = ReadKeySecurity(key);
      EXPECT_EQ(security.Owner, LocalSystem) << key;
      EXPECT_EQ(security.Dacl, Open) << key;
    }
  }
}

TEST_F(PermissionRepair, AKeyThatCannotBeReachedGives60PlusTheApplyingResult) {
  Plant(Base, {{"Tree", LocalSystem, Open}});
  const TWindowsVersionOverride as(KnownWindows(TKnownWindows::XPSP3));
  const std::pair<std::string, int> cases[] = {{"", 1}, {Path("Tree\\missing"), 2}};
  for (const auto& [path, applied] : cases) {
    SCOPED_TRACE(path);
    TDiagnosticLog log;
    EXPECT_EQ(SetRegistryPermissions(log, HKEY_LOCAL_MACHINE, path, true), 60 + applied);
    EXPECT_EQ(Texts(log), Attempt(path, LaterSteps, applied));
  }
}

TEST_F(PermissionRepair, ASubKeyThatRefusesWriteDacDoesNotStopTheWalk) {
  Plant(Base, {{"Tree", LocalSystem, Open},
               {"Tree\\a", LocalSystem, Open},
               {"Tree\\a\\x", LocalSystem, Open},
               {"Tree\\m", LocalSystem, Refusing},
               {"Tree\\m\\below", LocalSystem, Open},
               {"Tree\\z", LocalSystem, Open}});
  const TWindowsVersionOverride as(KnownWindows(TKnownWindows::XPSP3));
  TDiagnosticLog log;
  EXPECT_EQ(SetRegistryPermissions(log, HKEY_LOCAL_MACHINE, Path("Tree"), true), 62);
  EXPECT_EQ(Texts(log), Attempt(Path("Tree"), LaterSteps, 2));
  for (const char* key : {"Tree", "Tree\\a", "Tree\\a\\x", "Tree\\z"}) {
    SCOPED_TRACE(key);
    EXPECT_EQ(ReadKeySecurity(Path(key)).Dacl, LaterDacl);
    EXPECT_EQ(ReadKeySecurity(Path(key)).Owner, Administrators);
  }
  EXPECT_EQ(ReadKeySecurity(Path("Tree\\m")).Dacl, Refusing);
  EXPECT_EQ(ReadKeySecurity(Path("Tree\\m")).Owner, LocalSystem);
  EXPECT_EQ(ReadKeySecurity(Path("Tree\\m\\below")).Dacl, Open) << "not reached";
}

// Wine lets an owner write the DACL whatever the DACL denies, as Windows does; but unlike
// Windows it gives no WRITE_OWNER for the take-ownership privilege, so a key of another
// owner that also denies WRITE_OWNER stays shut there (and could not be removed again
// within the run, so no test plants one).
TEST_F(PermissionRepair, RepairsKeysThatShutEveryoneOut) {
  const std::vector<TAce> deniedToAll = {{Denied, 0, KEY_ALL_ACCESS, Everyone},
                                         {Denied, 0, KEY_ALL_ACCESS, Administrators}};
  const std::vector<TAce> onlyOwnable = {
      {Denied, 0, KEY_ALL_ACCESS & ~WRITE_OWNER, Everyone},
      {Allowed, 0, WRITE_OWNER, Administrators}};
  struct TCase {
    const char* Name;
    const char* Owner;
    const std::vector<TAce>& Dacl;
  };
  const TCase cases[] = {
      {"everything denied, Administrators own it", Administrators, deniedToAll},
      {"only taking ownership allowed, System owns it", LocalSystem, onlyOwnable},
  };
  const TWindowsVersionOverride as(KnownWindows(TKnownWindows::XPSP3));
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    ForceDeleteKey(Base);
    Plant(Base, {{"Tree", c.Owner, c.Dacl}, {"Tree\\a", LocalSystem, Open}});
    ASSERT_FALSE(KeyExists(Path("Tree"))) << "cannot even be read";
    TDiagnosticLog log;
    EXPECT_EQ(SetRegistryPermissions(log, HKEY_LOCAL_MACHINE, Path("Tree"), true), 0);
    EXPECT_EQ(Texts(log), Attempt(Path("Tree"), LaterSteps, 0));
    const TKeySecurity top = ReadKeySecurity(Path("Tree"));
    const TKeySecurity sub = ReadKeySecurity(Path("Tree\\a"));
    EXPECT_EQ(top.Dacl, LaterDacl);
    EXPECT_EQ(top.Owner, Administrators);
    EXPECT_EQ(sub.Dacl, LaterDacl);
    // Taking ownership found the shut key's sub-keys unlistable; a next attempt takes them.
    EXPECT_EQ(sub.Owner, LocalSystem);
  }
}

TEST_F(PermissionRepair, RepairsTheCalaisKeyAndItsReadersUntilAnAttemptSucceeds) {
  const std::string calais = "MACHINE\\" + Calais + "\\";
  const std::string readers = "MACHINE\\" + Calais + "\\Readers";
  const std::vector<TAce> onlyOwnable = {
      {Denied, 0, KEY_ALL_ACCESS & ~WRITE_OWNER, Everyone},
      {Allowed, 0, WRITE_OWNER, Administrators}};
  struct TCase {
    const char* Name;
    std::vector<TPlanted> Below;  // extra keys below Calais
    TLines Attempts;
    std::vector<std::string> Untouched;  // "\\name" below Calais
  };
  const TCase cases[] = {
      {"in order", {}, {calais, readers}, {}},
      // The first attempt owns the outer key only: it cannot list the inner one yet.
      {"two keys deep that only Administrators may take",
       {{"CardmendShut", LocalSystem, onlyOwnable},
        {"CardmendShut\\Inner", LocalSystem, onlyOwnable}},
       {calais, calais, readers},
       {}},
      {"a key that refuses for good",
       {{"CardmendRefuses", LocalSystem, Refusing}},
       {calais, calais, calais, readers},
       {"\\CardmendRefuses"}},
  };
  const TWindowsVersionOverride as(KnownWindows(TKnownWindows::XPSP3));
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    std::vector<std::string> extra = {"Readers"};
    for (const TPlanted& key : c.Below) extra.push_back(key.Path);
    const TKeySecurityKeeper keep(Calais, extra);
    Plant(Calais, c.Below);
    TDiagnosticLog log;
    RepairCalaisPermissions(log);
    EXPECT_EQ(AttemptedKeys(log), c.Attempts);
    ASSERT_FALSE(log.Lines().empty());
    EXPECT_EQ(Texts(log).back(), "SetRegistrySecurity: 0");

    std::vector<std::string> keys = {Calais};
    for (size_t i = 0; i < keys.size(); ++i) {
      const TRegKey key = OpenRegKey(HKEY_LOCAL_MACHINE, keys[i], KEY_READ);
      ASSERT_TRUE(key) << keys[i];
      for (const std::string& sub : RegSubKeyNames(key.Get())) keys.push_back(keys[i] + "\\" + sub);
    }
    for (const std::string& key : keys) {
      SCOPED_TRACE(key);
      const bool untouched =
          std::find(c.Untouched.begin(), c.Untouched.end(), key.substr(Calais.size())) !=
          c.Untouched.end();
      EXPECT_EQ(ReadKeySecurity(key).Dacl, untouched ? Refusing : LaterDacl);
      EXPECT_EQ(ReadKeySecurity(key).Owner, untouched ? LocalSystem : Administrators);
    }
  }
}

TEST_F(PermissionRepair, WithoutAddAccessAllowedAceExEveryAttemptEndsAt31) {
  struct TCase {
    TKnownWindows Release;
    TLines Steps;
  };
  const TCase cases[] = {
      {TKnownWindows::Win2000SP4,
       {"dwAclSize 1: 72", "dwAclSize 2: 72", "InitializeAcl OK",
        "AddAccessAllowedAce Everyone FAIL"}},
      {TKnownWindows::XPSP3,
       Join({LaterSids,
             {"dwAclSize 1: 72", "dwAclSize 2: 176", "InitializeAcl OK",
              "AddAccessAllowedAce Everyone FAIL"}})},
  };
  const std::string calais = Calais + "\\";
  const std::string readers = Calais + "\\Readers";
  for (const TCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.Release));
    const TWindowsVersionOverride as(KnownWindows(c.Release));
    const TMissingSecurityFunctions missing;
    const auto attempt = [&](const std::string& path) {
      return Join({{"SetRegistryPermissions 1", "SetRegistryPermissions 2: MACHINE\\" + path},
                   c.Steps});
    };

    ForceDeleteKey(Base);
    Plant(Base, {{"Tree", LocalSystem, Open}});
    TDiagnosticLog single;
    EXPECT_EQ(SetRegistryPermissions(single, HKEY_LOCAL_MACHINE, Path("Tree"), true), 31);
    EXPECT_EQ(Texts(single), attempt(Path("Tree")));
    EXPECT_EQ(ReadKeySecurity(Path("Tree")).Dacl, Open);
    EXPECT_EQ(ReadKeySecurity(Path("Tree")).Owner, LocalSystem);

    const TKeySecurityKeeper keep(Calais, {"Readers"});
    const TKeySecurity before = ReadKeySecurity(Calais);
    TDiagnosticLog repair;
    RepairCalaisPermissions(repair);
    EXPECT_EQ(Texts(repair), Join({attempt(calais), attempt(calais), attempt(calais),
                                   attempt(readers), attempt(readers), attempt(readers)}));
    EXPECT_EQ(ReadKeySecurity(Calais).Dacl, before.Dacl);
    EXPECT_EQ(ReadKeySecurity(Calais).Owner, before.Owner);
  }
}

TEST_F(PermissionRepair, MissingSecurityFunctionsAreMissingOnlyWhileTheScopeLives) {
  Plant(Base, {{"Tree", LocalSystem, Open}});
  std::vector<DWORD> memory(64);
  const auto acl = [&] {
    const PACL result = reinterpret_cast<PACL>(memory.data());
    InitializeAcl(result, static_cast<DWORD>(memory.size() * sizeof(DWORD)), ACL_REVISION);
    return result;
  };
  PSID everyone = nullptr;
  SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
  ASSERT_TRUE(AllocateAndInitializeSid(&world, 1, 0, 0, 0, 0, 0, 0, 0, 0, &everyone));
  {
    const TMissingSecurityFunctions outer;
    {
      const TMissingSecurityFunctions inner;
    }
    SetLastError(0);
    EXPECT_FALSE(Security::AddAccessAllowedAceEx(acl(), ACL_REVISION, 0, KEY_READ, everyone));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
    EXPECT_EQ(TakeOwnership(HKEY_LOCAL_MACHINE, Path("Tree"), false), 1);
    EXPECT_EQ(ReadKeySecurity(Path("Tree")).Owner, LocalSystem);
  }
  EXPECT_TRUE(Security::AddAccessAllowedAceEx(acl(), ACL_REVISION, 0, KEY_READ, everyone));
  EXPECT_EQ(TakeOwnership(HKEY_LOCAL_MACHINE, Path("Tree"), false), 0);
  EXPECT_EQ(ReadKeySecurity(Path("Tree")).Owner, Administrators);
  FreeSid(everyone);
}
