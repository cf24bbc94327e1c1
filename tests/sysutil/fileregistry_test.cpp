#include "sysutil/fileregistry.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

#include "sysutil/handles.h"
#include "sysutil/textconv.h"
#include "tests/bed/files.h"
#include "tests/bed/registryfixture.h"
#include "tests/bed/scratch.h"
#include "tests/bed/settingsfolder.h"

namespace {

const wchar_t SettingsKey[] = L"Software\\Orvinta\\ZQM";

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

TEST(FileRegistry, StartsAtTheUsersFolderWithNoKeyOpen) {
  const TFileRegistry settings;
  EXPECT_EQ(settings.RootKey(), HKEY_CURRENT_USER);
  EXPECT_EQ(settings.BaseFolder(), Narrow(UserAppData()));
  EXPECT_EQ(settings.CurrentKeyFolder(), "");
}

// The same key holds a different value below each application-data folder, so every root
// shows which folder it reads.
TEST(FileRegistry, OnlyTheUserRootReadsTheUsersFolder) {
  const TSettingsFolder user(UserAppData(), SettingsKey);
  const TSettingsFolder common(CommonAppData(), SettingsKey);
  user.WriteValue(L"Language", "\x01");
  common.WriteValue(L"Language", "\x02");
  struct TCase {
    const char* Name;
    HKEY Root;
    std::wstring Folder;
    int Value;
  };
  const TCase cases[] = {
      {"current user", HKEY_CURRENT_USER, UserAppData(), 1},
      {"local machine", HKEY_LOCAL_MACHINE, CommonAppData(), 2},
      {"users", HKEY_USERS, CommonAppData(), 2},
      {"classes root", HKEY_CLASSES_ROOT, CommonAppData(), 2},
      {"no root", nullptr, CommonAppData(), 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TFileRegistry settings;
    settings.SetRootKey(c.Root);
    EXPECT_EQ(settings.RootKey(), c.Root);
    EXPECT_EQ(settings.BaseFolder(), Narrow(c.Folder));
    ASSERT_TRUE(settings.OpenKeyReadOnly(Narrow(SettingsKey)));
    EXPECT_EQ(settings.ReadInteger("Language"), c.Value);
  }
}

TEST(FileRegistry, OpenKeyResolvesAbsoluteAndRelativeKeys) {
  const TSettingsFolder zqm(CommonAppData(), SettingsKey);
  zqm.WriteValue(L"Language", "\x07");
  struct TCase {
    const char* Name;
    const char* Opened;  // opened first; empty: no key open
    const char* Key;
    bool Result;
    std::optional<std::string> Folder;  // below the root's folder; nullopt: no key open
  };
  const TCase cases[] = {
      {"absolute", "", "\\Software\\Orvinta", true, "Software\\Orvinta\\"},
      {"relative with no key open starts at the root", "", "Software\\Orvinta\\ZQM", true,
       "Software\\Orvinta\\ZQM\\"},
      {"relative to the open key", "\\Software", "Orvinta\\ZQM", true, "Software\\Orvinta\\ZQM\\"},
      {"absolute beside an open key", "Software\\Orvinta", "\\Software", true, "Software\\"},
      {"a lone backslash is the root", "Software", "\\", true, ""},
      {"a trailing backslash stays single", "", "Software\\Orvinta\\ZQM\\", true,
       "Software\\Orvinta\\ZQM\\"},
      {"empty key", "Software", "", false, "Software\\"},
      {"missing key keeps the open key", "Software", "Missing", false, "Software\\"},
      {"missing key with none open", "", "Software\\Missing", false, std::nullopt},
      {"a value is no key", "Software\\Orvinta\\ZQM", "Language", false,
       "Software\\Orvinta\\ZQM\\"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TFileRegistry settings;
    settings.SetRootKey(HKEY_LOCAL_MACHINE);
    if (*c.Opened) {
      ASSERT_TRUE(settings.OpenKeyReadOnly(c.Opened));
    }
    EXPECT_EQ(settings.OpenKey(c.Key, false), c.Result);
    EXPECT_EQ(settings.CurrentKeyFolder(), c.Folder ? settings.BaseFolder() + *c.Folder : "");
  }
}

TEST(FileRegistry, OpenKeyReadOnlySucceedsExactlyWhenTheFolderExists) {
  const TSettingsFolder zqm(CommonAppData(), SettingsKey);
  TFileRegistry settings;
  settings.SetRootKey(HKEY_LOCAL_MACHINE);
  ASSERT_FALSE(IsFolder(zqm.Path()));
  EXPECT_FALSE(settings.OpenKeyReadOnly(Narrow(SettingsKey)));
  EXPECT_FALSE(IsFolder(zqm.Path()));
  EXPECT_EQ(settings.CurrentKeyFolder(), "");

  zqm.Create();
  EXPECT_TRUE(settings.OpenKeyReadOnly(Narrow(SettingsKey)));
  EXPECT_EQ(settings.CurrentKeyFolder(), Narrow(zqm.Path()));
}

TEST(FileRegistry, OpenKeyCreatesEveryMissingFolderWhenAllowed) {
  const TSettingsFolder deep(UserAppData(), L"Software\\Orvinta\\ZQM\\Tief \u00dc\\\u2713");
  TFileRegistry settings;
  ASSERT_FALSE(IsFolder(UserAppData() + L"Software\\Orvinta"));
  EXPECT_TRUE(settings.OpenKey("Software\\Orvinta\\ZQM\\Tief \xC3\x9C\\\xE2\x9C\x93", true));
  EXPECT_TRUE(IsFolder(deep.Path()));
  EXPECT_EQ(settings.CurrentKeyFolder(), Narrow(deep.Path()));
}

TEST(FileRegistry, OpenKeyFailsWhenAFileBlocksTheFolder) {
  const TSettingsFolder orvinta(UserAppData(), L"Software\\Orvinta");
  orvinta.WriteValue(L"Blocker", "x");
  TFileRegistry settings;
  ASSERT_TRUE(settings.OpenKeyReadOnly("Software"));
  EXPECT_FALSE(settings.OpenKey("Orvinta\\Blocker\\Sub", true));
  EXPECT_EQ(settings.CurrentKeyFolder(), Narrow(UserAppData()) + "Software\\");
  EXPECT_FALSE(IsFolder(orvinta.Path() + L"Blocker\\Sub"));
}

TEST(FileRegistry, OnlyANewRootClosesTheOpenKey) {
  const TSettingsFolder zqm(UserAppData(), SettingsKey);
  zqm.Create();
  TFileRegistry settings;
  ASSERT_TRUE(settings.OpenKeyReadOnly(Narrow(SettingsKey)));

  settings.SetRootKey(HKEY_CURRENT_USER);
  EXPECT_EQ(settings.CurrentKeyFolder(), Narrow(zqm.Path()));

  settings.SetRootKey(HKEY_LOCAL_MACHINE);
  EXPECT_EQ(settings.CurrentKeyFolder(), "");
  EXPECT_EQ(settings.BaseFolder(), Narrow(CommonAppData()));

  settings.SetRootKey(HKEY_CURRENT_USER);
  EXPECT_EQ(settings.BaseFolder(), Narrow(UserAppData()));
  ASSERT_TRUE(settings.OpenKeyReadOnly(Narrow(SettingsKey)));
  settings.CloseKey();
  EXPECT_EQ(settings.CurrentKeyFolder(), "");
}

TEST(FileRegistry, ValueExistsOnlyForFilesOfTheOpenKey) {
  const TSettingsFolder zqm(UserAppData(), SettingsKey);
  zqm.WriteValue(L"Language", "\x07\x00");
  zqm.WriteValue(L"Sprache \u00e9\u2713", "");
  const TSettingsFolder sub(UserAppData(), std::wstring(SettingsKey) + L"\\Sub");
  sub.Create();
  TFileRegistry settings;
  ASSERT_TRUE(settings.OpenKeyReadOnly(Narrow(SettingsKey)));
  EXPECT_TRUE(settings.ValueExists("Language"));
  EXPECT_TRUE(settings.ValueExists("Sprache \xC3\xA9\xE2\x9C\x93"));
  EXPECT_FALSE(settings.ValueExists("Sub"));
  EXPECT_FALSE(settings.ValueExists("Missing"));
  ASSERT_TRUE(settings.OpenKeyReadOnly("Sub"));
  EXPECT_FALSE(settings.ValueExists("Language"));
}

TEST(FileRegistry, ReadIntegerTakesUpToFourBytesLeastSignificantFirst) {
  const TSettingsFolder zqm(UserAppData(), SettingsKey);
  struct TCase {
    const char* Name;
    std::string Bytes;
    int Expected;
  };
  const TCase cases[] = {
      {"empty file", "", 0},
      {"one byte", std::string("\x07", 1), 7},
      {"two bytes", std::string("\x07\x00", 2), 7},
      {"two bytes, high one set", std::string("\x34\x12", 2), 0x1234},
      {"three bytes", std::string("\x01\x02\x03", 3), 0x030201},
      {"four bytes", std::string("\x0c\x00\x00\x00", 4), 12},
      {"all bits set", std::string("\xff\xff\xff\xff", 4), -1},
      {"sign bit only", std::string("\x00\x00\x00\x80", 4), INT_MIN},
      {"longer files give their first four bytes", std::string("\x10\x00\x00\x00\x09\x09", 6), 16},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    zqm.WriteValue(L"Language", c.Bytes);
    TFileRegistry settings;
    ASSERT_TRUE(settings.OpenKeyReadOnly(Narrow(SettingsKey)));
    EXPECT_EQ(settings.ReadInteger("Language"), c.Expected);
  }
  TFileRegistry settings;
  ASSERT_TRUE(settings.OpenKeyReadOnly(Narrow(SettingsKey)));
  EXPECT_EQ(settings.ReadInteger("Missing"), 0);
}

TEST(FileRegistry, ReadIntegerFindsNamesOutsideTheAnsiCodePage) {
  const TSettingsFolder key(CommonAppData(), L"Software\\Orvinta\\\u00dcbersicht \u2713");
  key.WriteValue(L"Sprache \u00e9\u2713", std::string("\x05\x00", 2));
  TFileRegistry settings;
  settings.SetRootKey(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(settings.OpenKeyReadOnly("Software\\Orvinta\\\xC3\x9C" "bersicht \xE2\x9C\x93"));
  EXPECT_EQ(settings.ReadInteger("Sprache \xC3\xA9\xE2\x9C\x93"), 5);
}

// Reading keeps out writers while it reads, and keeps no file open afterwards.
TEST(FileRegistry, ReadIntegerSharesTheFileWithReadersOnly) {
  const TSettingsFolder zqm(UserAppData(), SettingsKey);
  zqm.WriteValue(L"Language", std::string("\x0a\x00", 2));
  const std::wstring file = zqm.Path() + L"Language";
  TFileRegistry settings;
  ASSERT_TRUE(settings.OpenKeyReadOnly(Narrow(SettingsKey)));
  for (const DWORD access : {DWORD{GENERIC_READ}, DWORD{GENERIC_WRITE}}) {
    SCOPED_TRACE(access == GENERIC_READ ? "held by a reader" : "held by a writer");
    const HANDLE raw = CreateFileW(file.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(raw, INVALID_HANDLE_VALUE);
    const THandle other(raw);
    EXPECT_EQ(settings.ReadInteger("Language"), access == GENERIC_READ ? 10 : 0);
  }
  EXPECT_EQ(settings.ReadInteger("Language"), 10);
  EXPECT_TRUE(DeleteFileW(file.c_str()));
}

// A user whose application-data folder is gone: keys resolve against the working directory.
TEST(FileRegistry, WithoutAFolderKeysResolveAgainstTheWorkingDirectory) {
  TRegistryFixture registry;
  registry.SetString(HKEY_CURRENT_USER,
                     L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
                     L"AppData", L"C:\\cardmend-no-such-folder");
  registry.SetString(HKEY_CURRENT_USER,
                     L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                     L"AppData", L"C:\\cardmend-no-such-folder");
  const TScratchFolder scratch(L"working");
  const TSettingsFolder zqm(scratch.Path(), SettingsKey);
  zqm.WriteValue(L"Language", "\x0c");
  wchar_t previous[MAX_PATH] = L"";
  GetCurrentDirectoryW(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryW(scratch.Path().c_str()));

  TFileRegistry settings;
  const bool opened = settings.OpenKeyReadOnly(Narrow(SettingsKey));
  const std::int32_t value = settings.ReadInteger("Language");
  SetCurrentDirectoryW(previous);
  EXPECT_EQ(settings.BaseFolder(), "");
  EXPECT_TRUE(opened);
  EXPECT_EQ(value, 12);
}
