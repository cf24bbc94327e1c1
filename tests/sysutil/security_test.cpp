#include "sysutil/security.h"

#include <aclapi.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sysutil/handles.h"
#include "sysutil/registryaccess.h"
#include "tests/bed/keysecurity.h"

namespace {

const char* const Administrators = "S-1-5-32-544";
const char* const LocalSystem = "S-1-5-18";
const char* const Everyone = "S-1-1-0";
const REGSAM View64 = KEY_WOW64_64KEY;
const REGSAM View32 = KEY_WOW64_32KEY;

// Opens in exactly the view given, bypassing the helper under test.
TRegKey OpenKey(HKEY parent, const std::string& path, REGSAM access) {
  HKEY raw = nullptr;
  if (RegOpenKeyExA(parent, path.c_str(), 0, access, &raw) != ERROR_SUCCESS) return TRegKey();
  return TRegKey(raw);
}

THandle ProcessToken() {
  HANDLE raw = nullptr;
  OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &raw);
  return THandle(raw);
}

bool PrivilegeEnabled(const char* name) {
  const THandle token = ProcessToken();
  LUID luid;
  if (!LookupPrivilegeValueA(nullptr, name, &luid)) return false;
  DWORD size = 0;
  GetTokenInformation(token.Get(), TokenPrivileges, nullptr, 0, &size);
  std::vector<DWORD> buffer(size / sizeof(DWORD) + 1);
  if (!GetTokenInformation(token.Get(), TokenPrivileges, buffer.data(), size, &size)) return false;
  const auto* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer.data());
  for (DWORD i = 0; i < privileges->PrivilegeCount; ++i)
    if (privileges->Privileges[i].Luid.LowPart == luid.LowPart &&
        privileges->Privileges[i].Luid.HighPart == luid.HighPart)
      return (privileges->Privileges[i].Attributes & SE_PRIVILEGE_ENABLED) != 0;
  return false;
}

// Deletes a key tree in one view whatever its owner and DACL say.
void ForceDelete(HKEY parent, const std::string& name, REGSAM view) {
  if (const TRegKey key = OpenKey(parent, name, WRITE_DAC | view)) {
    SECURITY_DESCRIPTOR open;
    InitializeSecurityDescriptor(&open, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&open, TRUE, nullptr, FALSE);
    RegSetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, &open);
  }
  const TRegKey key = OpenKey(parent, name, KEY_READ | DELETE | view);
  if (!key) return;
  for (const std::string& sub : RegSubKeyNames(key.Get())) ForceDelete(key.Get(), sub, view);
  RegDeleteKeyA(parent, name.c_str());
}

bool KeyExists(const std::string& path, REGSAM view) {
  return static_cast<bool>(OpenKey(HKEY_LOCAL_MACHINE, path, KEY_READ | view));
}

// Creates a key in one view when it is missing; at the end deletes it again, or puts back
// the owner and DACL it had.
class TKeyInView {
 public:
  TKeyInView(const std::string& path, REGSAM view) : FPath(path), FView(view) {
    FExisted = KeyExists(path, view);
    HKEY raw = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, READ_CONTROL | view,
                        nullptr, &raw, nullptr) != ERROR_SUCCESS)
      return;
    const TRegKey key(raw);
    DWORD size = 0;
    RegGetKeySecurity(raw, Both, nullptr, &size);
    FSaved.resize(size);
    if (RegGetKeySecurity(raw, Both, FSaved.data(), &size) != ERROR_SUCCESS) FSaved.clear();
  }
  TKeyInView(const TKeyInView&) = delete;
  TKeyInView& operator=(const TKeyInView&) = delete;
  ~TKeyInView() {
    if (!FExisted) {
      ForceDelete(HKEY_LOCAL_MACHINE, FPath, FView);
    } else if (const TRegKey key = OpenKey(HKEY_LOCAL_MACHINE, FPath, WRITE_OWNER | WRITE_DAC | FView)) {
      if (!FSaved.empty()) RegSetKeySecurity(key.Get(), Both, FSaved.data());
    }
  }

 private:
  static constexpr SECURITY_INFORMATION Both = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
  std::string FPath;
  REGSAM FView;
  bool FExisted = false;
  std::vector<BYTE> FSaved;
};

// A key tree of the test's own under HKLM\Software in the 64-bit view, removed at the end.
// Owners other than the test's own need the restore privilege, which the test switches on.
class SecurityTree : public ::testing::Test {
 protected:
  static constexpr const char* Base = "Software\\CardmendSecurityTest";

  void SetUp() override {
    ForceDelete(HKEY_LOCAL_MACHINE, Base, View64);
    const THandle token = ProcessToken();
    ASSERT_TRUE(SetPrivilege(token.Get(), "SeRestorePrivilege", true));
    ASSERT_TRUE(SetPrivilege(token.Get(), "SeTakeOwnershipPrivilege", false));
  }
  void TearDown() override {
    const THandle token = ProcessToken();
    SetPrivilege(token.Get(), "SeTakeOwnershipPrivilege", true);
    ForceDelete(HKEY_LOCAL_MACHINE, Base, View64);
    SetPrivilege(token.Get(), "SeTakeOwnershipPrivilege", false);
    SetPrivilege(token.Get(), "SeRestorePrivilege", false);
  }

  // Creates Base\<relative> with the given owner and DACL; the full path.
  std::string Key(const std::string& relative, const char* owner = LocalSystem,
                  const std::vector<TAce>& dacl = Open) {
    const std::string path = std::string(Base) + "\\" + relative;
    EXPECT_TRUE(CreateRegKey(HKEY_LOCAL_MACHINE, path, KEY_READ)) << path;
    EXPECT_TRUE(WriteKeySecurity(path, owner, dacl, View64)) << path;
    FKeys.push_back(path);
    return path;
  }

  static inline const std::vector<TAce> Open = {{ACCESS_ALLOWED_ACE_TYPE, 0, KEY_ALL_ACCESS, Everyone}};
  // What SetRegistrySecurity applies in these tests.
  static inline const std::vector<TAce> NewDacl = {
      {ACCESS_ALLOWED_ACE_TYPE, CONTAINER_INHERIT_ACE, KEY_ALL_ACCESS, Administrators},
      {ACCESS_ALLOWED_ACE_TYPE, 0, KEY_READ | WRITE_DAC | DELETE, Everyone}};

  std::vector<std::string> FKeys;
};

}  // namespace

TEST(RegistryRootName, GivesTheObjectNamePrefix) {
  const std::pair<HKEY, const char*> cases[] = {
      {HKEY_CLASSES_ROOT, "CLASSES_ROOT\\"}, {HKEY_CURRENT_USER, "CURRENT_USER\\"},
      {HKEY_LOCAL_MACHINE, "MACHINE\\"},     {HKEY_USERS, "USERS\\"},
      {HKEY_CURRENT_CONFIG, ""},             {HKEY_PERFORMANCE_DATA, ""}};
  for (const auto& [root, name] : cases) EXPECT_EQ(RegistryRootName(root), name);
}

TEST(SetPrivilege, SwitchesAPrivilegeOnAndOff) {
  const THandle token = ProcessToken();
  for (const bool enable : {true, false, true, false}) {
    ASSERT_TRUE(SetPrivilege(token.Get(), "SeTakeOwnershipPrivilege", enable));
    EXPECT_EQ(PrivilegeEnabled("SeTakeOwnershipPrivilege"), enable);
  }
  EXPECT_FALSE(SetPrivilege(token.Get(), "SeNoSuchPrivilege", true));
}

TEST_F(SecurityTree, TakeOwnershipOfATreeGivesEveryKeyToAdministrators) {
  // Wine grants WRITE_OWNER only through the DACL, not through the take-ownership
  // privilege as Windows does, so every key here grants it.
  const std::vector<TAce> narrow = {
      {ACCESS_ALLOWED_ACE_TYPE, 0, KEY_READ | WRITE_OWNER | WRITE_DAC | DELETE, Everyone}};
  const std::string top = Key("Tree");
  const std::vector<std::string> below = {Key("Tree\\a"), Key("Tree\\a\\deep", LocalSystem, narrow),
                                          Key("Tree\\b")};
  EXPECT_EQ(TakeOwnership(HKEY_LOCAL_MACHINE, top, true), 6);
  EXPECT_EQ(ReadKeySecurity(top).Owner, Administrators);
  for (const std::string& key : below) {
    SCOPED_TRACE(key);
    EXPECT_EQ(ReadKeySecurity(key).Owner, Administrators);
  }
  EXPECT_EQ(ReadKeySecurity(below[1]).Dacl, narrow) << "the DACL is not touched";
  EXPECT_FALSE(PrivilegeEnabled("SeTakeOwnershipPrivilege")) << "switched off after a tree";
}

TEST_F(SecurityTree, TakeOwnershipWithoutRecursionChangesTheKeyOnly) {
  const std::string top = Key("Tree");
  const std::string sub = Key("Tree\\a");
  EXPECT_EQ(TakeOwnership(HKEY_LOCAL_MACHINE, top + "\\", false), 0);
  EXPECT_EQ(ReadKeySecurity(top).Owner, Administrators);
  EXPECT_EQ(ReadKeySecurity(sub).Owner, LocalSystem);
  EXPECT_EQ(ReadKeySecurity(top).Dacl, Open);
}

TEST_F(SecurityTree, TakeOwnershipWithNothingToDoLeavesTheTokenAlone) {
  const std::string top = Key("Tree");
  HKEY opened = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, top.c_str(), 0, KEY_READ | View64, &opened), ERROR_SUCCESS);
  const TRegKey key(opened);
  const std::pair<HKEY, std::string> cases[] = {
      {HKEY_LOCAL_MACHINE, ""}, {HKEY_CURRENT_CONFIG, "Software"}, {opened, "a"}};
  for (const auto& [root, path] : cases) {
    SCOPED_TRACE(path);
    EXPECT_EQ(TakeOwnership(root, path, false), 1);
    EXPECT_FALSE(PrivilegeEnabled("SeTakeOwnershipPrivilege"));
  }
  EXPECT_EQ(ReadKeySecurity(top).Owner, LocalSystem);
}

TEST_F(SecurityTree, TakeOwnershipOfAMissingKeyGives5) {
  Key("Tree");
  EXPECT_EQ(TakeOwnership(HKEY_LOCAL_MACHINE, std::string(Base) + "\\Tree\\missing", true), 5);
}

TEST_F(SecurityTree, SetRegistrySecurityGivesEveryKeyTheDacl) {
  const std::string top = Key("Tree");
  const std::vector<std::string> below = {Key("Tree\\a"), Key("Tree\\a\\deep"), Key("Tree\\z")};
  TDescriptor descriptor(nullptr, NewDacl);
  EXPECT_EQ(SetRegistrySecurity(HKEY_LOCAL_MACHINE, top, descriptor.Get(), true), 0);
  EXPECT_EQ(ReadKeySecurity(top).Dacl, NewDacl);
  for (const std::string& key : below) {
    SCOPED_TRACE(key);
    const TKeySecurity security = ReadKeySecurity(key);
    EXPECT_EQ(security.Dacl, NewDacl);
    EXPECT_EQ(security.Owner, LocalSystem) << "the owner is not touched";
  }
}

TEST_F(SecurityTree, SetRegistrySecurityWithoutRecursionChangesTheKeyOnly) {
  const std::string top = Key("Tree");
  const std::string sub = Key("Tree\\a");
  TDescriptor descriptor(nullptr, NewDacl);
  EXPECT_EQ(SetRegistrySecurity(HKEY_LOCAL_MACHINE, top, descriptor.Get(), false), 0);
  EXPECT_EQ(ReadKeySecurity(top).Dacl, NewDacl);
  EXPECT_EQ(ReadKeySecurity(sub).Dacl, Open);
  EXPECT_EQ(SetRegistrySecurity(HKEY_LOCAL_MACHINE, "", descriptor.Get(), true), 1);
  EXPECT_EQ(SetRegistrySecurity(HKEY_LOCAL_MACHINE, top + "\\missing", descriptor.Get(), true), 2);
}

// The owner may always change a DACL, so the refusing key belongs to someone else.
TEST_F(SecurityTree, ASubKeyThatRefusesWriteDacGives2AndTheOthersChange) {
  const std::vector<TAce> refusing = {{ACCESS_DENIED_ACE_TYPE, 0, WRITE_DAC, Everyone},
                                      {ACCESS_ALLOWED_ACE_TYPE, 0, KEY_ALL_ACCESS, Everyone}};
  const std::string top = Key("Tree");
  const std::vector<std::string> others = {Key("Tree\\a"), Key("Tree\\a\\x"), Key("Tree\\z"),
                                           Key("Tree\\z\\y")};
  const std::string refuser = Key("Tree\\m", LocalSystem, refusing);
  TDescriptor descriptor(nullptr, NewDacl);
  EXPECT_EQ(SetRegistrySecurity(HKEY_LOCAL_MACHINE, top, descriptor.Get(), true), 2);
  EXPECT_EQ(ReadKeySecurity(top).Dacl, NewDacl);
  for (const std::string& key : others) {
    SCOPED_TRACE(key);
    EXPECT_EQ(ReadKeySecurity(key).Dacl, NewDacl);
  }
  EXPECT_EQ(ReadKeySecurity(refuser).Dacl, refusing);
}

TEST_F(SecurityTree, BothWalksReachEveryKeyOfADeepAndWideTree) {
  const std::string top = Key("Tree");
  std::vector<std::string> keys;
  std::string chain = "Tree";
  for (int depth = 1; depth <= 32; ++depth) keys.push_back(Key(chain += "\\d" + std::to_string(depth)));
  for (int i = 0; i < 300; ++i) keys.push_back(Key("Tree\\d1\\w" + std::to_string(i)));
  TDescriptor descriptor(nullptr, NewDacl);
  EXPECT_EQ(TakeOwnership(HKEY_LOCAL_MACHINE, top, true), 6);
  EXPECT_EQ(SetRegistrySecurity(HKEY_LOCAL_MACHINE, top, descriptor.Get(), true), 0);
  int wrong = 0;
  for (const std::string& key : keys) {
    const TKeySecurity security = ReadKeySecurity(key);
    if (security.Owner != Administrators || security.Dacl != NewDacl) {
      if (++wrong <= 3) ADD_FAILURE() << key << " owner " << security.Owner;
    }
  }
  EXPECT_EQ(wrong, 0);
}

// The 64-bit smart-card service reads the 64-bit key; the copy under Wow6432Node that a
// 32-bit program sees by default must stay as it was.
TEST_F(SecurityTree, ChangesTheCalaisKeyOfThe64BitView) {
  const std::string calais = "Software\\Microsoft\\Cryptography\\Calais";
  const TKeyInView keep64(calais, View64), keep32(calais, View32);
  for (const REGSAM view : {View64, View32})
    ASSERT_TRUE(WriteKeySecurity(calais, LocalSystem, Open, view));
  ASSERT_EQ(ReadKeySecurity(calais, View32).Owner, LocalSystem) << "the views must be two keys";

  TDescriptor descriptor(nullptr, NewDacl);
  const int owned = TakeOwnership(HKEY_LOCAL_MACHINE, calais, false);
  const int secured = SetRegistrySecurity(HKEY_LOCAL_MACHINE, calais, descriptor.Get(), false);
  const TKeySecurity view64 = ReadKeySecurity(calais, View64);
  const TKeySecurity view32 = ReadKeySecurity(calais, View32);
  EXPECT_EQ(owned, 0);
  EXPECT_EQ(secured, 0);
  EXPECT_EQ(view64.Owner, Administrators);
  EXPECT_EQ(view64.Dacl, NewDacl);
  EXPECT_EQ(view32.Owner, LocalSystem);
  EXPECT_EQ(view32.Dacl, Open);
}

TEST(IsUserAdmin, TheTestUserIsAnAdministrator) { EXPECT_TRUE(IsUserAdmin()); }

TEST(IsUserAdmin, OnlyAnEnabledAdministratorsGroupCounts) {
  const TSidValue administrators(Administrators), users("S-1-5-32-545"), everyone(Everyone);
  const DWORD enabled = SE_GROUP_ENABLED | SE_GROUP_ENABLED_BY_DEFAULT | SE_GROUP_MANDATORY;
  struct TGroup {
    PSID Sid;
    DWORD Attributes;
  };
  struct TCase {
    const char* Name;
    std::vector<TGroup> Groups;
    bool Expected;
  };
  const TCase cases[] = {
      {"enabled, after other groups", {{everyone.Get(), enabled}, {administrators.Get(), enabled}}, true},
      {"filtered by UAC: deny-only", {{everyone.Get(), enabled}, {administrators.Get(), SE_GROUP_USE_FOR_DENY_ONLY}}, false},
      {"deny-only even though marked enabled", {{administrators.Get(), enabled | SE_GROUP_USE_FOR_DENY_ONLY}}, false},
      {"present but not enabled", {{administrators.Get(), SE_GROUP_MANDATORY}}, false},
      {"users only", {{everyone.Get(), enabled}, {users.Get(), enabled}}, false},
      {"no groups", {}, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    std::vector<DWORD> buffer(1 + 2 * (c.Groups.size() + 1));
    auto* groups = reinterpret_cast<TOKEN_GROUPS*>(buffer.data());
    groups->GroupCount = static_cast<DWORD>(c.Groups.size());
    for (size_t i = 0; i < c.Groups.size(); ++i)
      groups->Groups[i] = {c.Groups[i].Sid, c.Groups[i].Attributes};
    EXPECT_EQ(HasEnabledAdministrators(*groups), c.Expected);
  }
}
