#include "sysutil/registryaccess.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char* const Base = "Software\\CardmendRegistryAccessTest";

bool ExistsInView(const std::string& path, REGSAM view) {
  HKEY raw = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | view, &raw) != ERROR_SUCCESS)
    return false;
  const TRegKey key(raw);
  return true;
}

void DeleteInView(const std::string& path, REGSAM view) {
  HKEY raw = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | DELETE | view, &raw) != ERROR_SUCCESS)
    return;
  {
    const TRegKey key(raw);
    for (const std::string& name : RegSubKeyNames(raw)) DeleteInView(path + "\\" + name, view);
  }
  const size_t slash = path.rfind('\\');
  HKEY parent = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.substr(0, slash).c_str(), 0, KEY_READ | view, &parent) ==
      ERROR_SUCCESS) {
    const TRegKey owner(parent);
    RegDeleteKeyA(parent, path.substr(slash + 1).c_str());
  }
}

class RegistryKeys : public ::testing::Test {
 protected:
  void SetUp() override { TearDown(); }
  void TearDown() override {
    DeleteInView(Base, KEY_WOW64_64KEY);
    DeleteInView(Base, KEY_WOW64_32KEY);
  }
};

}  // namespace

// The test prefix is 64-bit and this test program 32-bit, as the program is on 64-bit Windows.
TEST_F(RegistryKeys, CreatesAndOpensKeysInThe64BitView) {
  const std::string path = std::string(Base) + "\\Sub\\";
  LONG error = -1;
  ASSERT_TRUE(CreateRegKey(HKEY_LOCAL_MACHINE, path, KEY_READ, &error));
  EXPECT_EQ(error, ERROR_SUCCESS);
  EXPECT_TRUE(ExistsInView(Base + std::string("\\Sub"), KEY_WOW64_64KEY));
  EXPECT_FALSE(ExistsInView(Base, KEY_WOW64_32KEY));
  EXPECT_TRUE(OpenRegKey(HKEY_LOCAL_MACHINE, path, KEY_READ));

  EXPECT_FALSE(OpenRegKey(HKEY_LOCAL_MACHINE, path + "Missing", KEY_READ, &error));
  EXPECT_EQ(error, ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryKeys, ListsSubKeyNamesOfAnyLength) {
  const std::vector<std::string> names = {"A", std::string(200, 'b'), "c d", "Z"};
  for (const std::string& name : names)
    ASSERT_TRUE(CreateRegKey(HKEY_LOCAL_MACHINE, std::string(Base) + "\\" + name, KEY_READ));
  const TRegKey key = OpenRegKey(HKEY_LOCAL_MACHINE, Base, KEY_READ);
  ASSERT_TRUE(key);
  EXPECT_EQ(RegSubKeyNames(key.Get()), names);
  const TRegKey leaf = OpenRegKey(key.Get(), "A", KEY_READ);
  ASSERT_TRUE(leaf);
  EXPECT_TRUE(RegSubKeyNames(leaf.Get()).empty());
}

TEST_F(RegistryKeys, DeletesATreeInThe64BitViewOnly) {
  const std::string tree = std::string(Base) + "\\Tree";
  for (const char* key : {"\\a\\b\\c", "\\d", ""})
    ASSERT_TRUE(CreateRegKey(HKEY_LOCAL_MACHINE, tree + key, KEY_READ));
  HKEY raw = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, tree.c_str(), 0, nullptr, 0, KEY_READ | KEY_WOW64_32KEY,
                            nullptr, &raw, nullptr),
            ERROR_SUCCESS);
  TRegKey(raw).Reset();
  const TRegKey base = OpenRegKey(HKEY_LOCAL_MACHINE, Base, KEY_READ);
  ASSERT_TRUE(base);

  EXPECT_EQ(DeleteRegKeyTree(base.Get(), ""), ERROR_BADKEY) << "an empty path names no key";
  EXPECT_EQ(DeleteRegKeyTree(HKEY_LOCAL_MACHINE, tree + "\\missing"), ERROR_FILE_NOT_FOUND);
  EXPECT_TRUE(ExistsInView(tree + "\\a\\b\\c", KEY_WOW64_64KEY));

  EXPECT_EQ(DeleteRegKeyTree(HKEY_LOCAL_MACHINE, tree + "\\"), ERROR_SUCCESS);
  EXPECT_FALSE(ExistsInView(tree, KEY_WOW64_64KEY));
  EXPECT_TRUE(ExistsInView(Base, KEY_WOW64_64KEY));
  EXPECT_TRUE(ExistsInView(tree, KEY_WOW64_32KEY));
}
