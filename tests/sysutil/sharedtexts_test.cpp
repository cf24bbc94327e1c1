#include "sysutil/sharedtexts.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

#include "sysutil/handles.h"
#include "tests/bed/files.h"
#include "tests/bed/programs.h"
#include "tests/bed/registryfixture.h"
#include "tests/bed/scratch.h"
#include "tests/bed/settingsfolder.h"

namespace {

const wchar_t SettingsKey[] = L"Software\\Orvinta\\ZQM";

struct TRegValue {
  DWORD Type;
  std::string Data;
};

TRegValue Dword(DWORD value) {
  return {REG_DWORD, std::string(reinterpret_cast<const char*>(&value), sizeof value)};
}

// Everything below Software\Orvinta in `root` is put back at the end of the scope.
class TLanguageKey {
 public:
  explicit TLanguageKey(HKEY root) : FRoot(root) { FFixture.RemoveKey(root, L"Software\\Orvinta"); }

  void Create() const {
    HKEY raw = nullptr;
    ASSERT_EQ(RegCreateKeyExW(FRoot, SettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &raw, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(raw);
  }
  void SetLanguage(const TRegValue& value) const {
    Create();
    HKEY raw = nullptr;
    ASSERT_EQ(RegOpenKeyExW(FRoot, SettingsKey, 0, KEY_SET_VALUE, &raw), ERROR_SUCCESS);
    const TRegKey key(raw);
    ASSERT_EQ(RegSetValueExW(raw, L"Language", 0, value.Type,
                             reinterpret_cast<const BYTE*>(value.Data.data()),
                             static_cast<DWORD>(value.Data.size())),
              ERROR_SUCCESS);
  }

 private:
  TRegistryFixture FFixture;
  HKEY FRoot;
};

}  // namespace

TEST(SharedText, RowsHoldTheirTextInEachLanguage) {
  struct TCase {
    int Row;
    const char* Texts[4];
  };
  const TCase cases[] = {
      {0, {"&OK", "&OK", "&OK", "&OK"}},
      {1, {"&Ja", "&Yes", "&Oui", "&S\xC3\xAD"}},
      {3, {"&Abbrechen", "&Cancel", "&Annuler", "&Cancelar"}},
      {5, {"\xC3\x9C&bernehmen", "&Accept", "&Accepter", "&Aplicar"}},
      {6, {"&Schlie\xC3\x9F" "en", "&Close", "&Fermer", "&Cerrar"}},
      {8, {"Hilfe", "Help", "Aide", "Ayuda"}},
      {11, {"Optionen", "Settings", "Options", "Opciones"}},
      {12, {"&Eigenschaften", "&Properties", "&Propri\xC3\xA9t\xC3\xA9s", "&Propiedades"}},
      {13, {"&Zur\xC3\xBC" "ck", "&Back", "&Pr\xC3\xA9" "c\xC3\xA9" "dent", "&Atr\xC3\xA1s"}},
      {15, {"&Fertig stellen", "&Finish", "&Terminer", "&Terminar"}},
      {16, {"Durchsuchen", "Browse", "Parcourir", "Buscar"}},
  };
  for (const auto& c : cases)
    for (int language = 0; language < 4; ++language) {
      SCOPED_TRACE(testing::Message() << "row " << c.Row << ", language " << language);
      EXPECT_EQ(SharedText(c.Row, language), c.Texts[language]);
    }
}

TEST(SharedText, EveryRowHasFourLanguagesAndAnEmptyFifth) {
  for (int row = 0; row < SharedTextRows; ++row) {
    SCOPED_TRACE(row);
    for (int language = 0; language < 4; ++language) EXPECT_NE(SharedText(row, language), "");
    EXPECT_EQ(SharedText(row, 4), "");
  }
}

TEST(SharedText, LookupsOutsideTheTableAreEmpty) {
  const std::pair<int, int> outside[] = {{17, 1},      {975, 1}, {976, 1}, {-1, 1},
                                         {INT_MAX, 0}, {INT_MIN, 0}, {0, 5}, {0, -1}, {16, INT_MAX}};
  for (const auto& [row, language] : outside) {
    SCOPED_TRACE(testing::Message() << "row " << row << ", language " << language);
    EXPECT_EQ(SharedText(row, language), "");
  }
}

TEST(LanguageIndexOf, MapsPrimaryLanguageIdentifiers) {
  const std::pair<std::int32_t, int> cases[] = {
      {7, 0},  {12, 2}, {10, 3}, {16, 4},   {9, 1},         {0, 1},       {1, 1},
      {4, 1},  {11, 1}, {17, 1}, {0x407, 1}, {0x10007, 1}, {-7, 1}, {INT_MIN, 1}, {INT_MAX, 1},
  };
  for (const auto& [identifier, index] : cases) {
    SCOPED_TRACE(identifier);
    EXPECT_EQ(LanguageIndexOf(identifier), index);
  }
}

TEST(LanguageOfIndex, MapsIndexesToComponentLanguages) {
  const std::pair<int, TLanguage> cases[] = {
      {0, lgGerman},  {1, lgEnglish}, {2, lgFrench},   {3, lgSpanish},
      {4, lgEnglish}, {5, lgEnglish}, {255, lgEnglish}, {-1, lgEnglish},
  };
  for (const auto& [index, language] : cases) {
    SCOPED_TRACE(index);
    EXPECT_EQ(LanguageOfIndex(index), language);
  }
}

TEST(DetectLanguageIndex, RegistryFirstThenTheAllUsersSettingsFile) {
  struct TCase {
    const char* Name;
    bool UserKey;                     // Software\Orvinta\ZQM exists in the user's registry
    std::optional<TRegValue> UserValue;  // its "Language"
    std::optional<TRegValue> MachineValue;  // "Language" in the machine's registry
    std::optional<std::string> CommonFile;  // the all-users settings file "Language"
    std::optional<std::string> UserFile;    // the same file in the user's folder
    int Expected;
  };
  const std::string french("\x0c\x00", 2);
  const TCase cases[] = {
      {"nothing anywhere", false, {}, {}, {}, {}, 1},
      {"registry German", true, Dword(7), {}, {}, {}, 0},
      {"registry German over a French file", true, Dword(7), {}, french, {}, 0},
      {"registry English over a French file", true, Dword(9), {}, french, {}, 1},
      {"registry French", true, Dword(12), {}, {}, {}, 2},
      {"registry Spanish", true, Dword(10), {}, {}, {}, 3},
      {"registry fifth language", true, Dword(16), {}, {}, {}, 4},
      {"registry unknown language", true, Dword(99), {}, {}, {}, 1},
      {"registry full language identifier", true, Dword(0x407), {}, {}, {}, 1},
      {"registry -1", true, Dword(0xFFFFFFFF), {}, {}, {}, 1},
      {"registry text", true, TRegValue{REG_SZ, std::string("7\0\0", 4)}, {}, french, {}, 1},
      {"registry binary", true, TRegValue{REG_BINARY, std::string("\x07\0\0\0", 4)}, {}, french,
       {}, 1},
      {"registry two-byte number", true, TRegValue{REG_DWORD, std::string("\x07\0", 2)}, {},
       french, {}, 1},
      {"registry oversized number", true, TRegValue{REG_DWORD, std::string("\x07\0\0\0\0\0\0\0", 8)},
       {}, french, {}, 1},
      {"registry big-endian number", true,
       TRegValue{REG_DWORD_BIG_ENDIAN, std::string("\0\0\0\x07", 4)}, {}, french, {}, 1},
      {"registry eight-byte number", true,
       TRegValue{REG_QWORD, std::string("\x07\0\0\0\0\0\0\0", 8)}, {}, french, {}, 1},
      {"key without the value falls back to the file", true, {}, {}, french, {}, 2},
      {"no key falls back to the file", false, {}, {}, french, {}, 2},
      {"file four bytes", false, {}, {}, std::string("\x07\0\0\0", 4), {}, 0},
      {"file one byte", false, {}, {}, std::string("\x0a", 1), {}, 3},
      {"file fifth language", false, {}, {}, std::string("\x10\0", 2), {}, 4},
      {"empty file", false, {}, {}, std::string(), {}, 1},
      {"file unknown language", false, {}, {}, std::string("\x07\x01", 2), {}, 1},
      {"only the user's settings file", false, {}, {}, {}, french, 1},
      {"only the machine's registry", false, {}, Dword(7), {}, {}, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const TLanguageKey user(HKEY_CURRENT_USER);
    const TLanguageKey machine(HKEY_LOCAL_MACHINE);
    const TSettingsFolder common(CommonAppData(), SettingsKey);
    const TSettingsFolder userFolder(UserAppData(), SettingsKey);
    if (c.UserKey) user.Create();
    if (c.UserValue) user.SetLanguage(*c.UserValue);
    if (c.MachineValue) machine.SetLanguage(*c.MachineValue);
    if (c.CommonFile) common.WriteValue(L"Language", *c.CommonFile);
    if (c.UserFile) userFolder.WriteValue(L"Language", *c.UserFile);
    EXPECT_EQ(DetectLanguageIndex(), c.Expected);
  }
}

TEST(DetectLanguageIndex, SettingsFilesOnlyAtTheirOwnKey) {
  const std::string german("\x07\x00", 2);
  struct TCase {
    const char* Name;
    std::wstring Key;
    std::wstring Value;
    bool AsFolder;
  };
  const TCase cases[] = {
      {"in the parent key", L"Software\\Orvinta", L"Language", false},
      {"in a sub-key", L"Software\\Orvinta\\ZQM\\Sub", L"Language", false},
      {"under another name", SettingsKey, L"Sprache", false},
      {"a folder named Language", std::wstring(SettingsKey) + L"\\Language", L"", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const TSettingsFolder folder(CommonAppData(), c.Key);
    if (c.AsFolder)
      folder.Create();
    else
      folder.WriteValue(c.Value, german);
    EXPECT_EQ(DetectLanguageIndex(), 1);
  }
}

// Read once, when first asked for: a setting changed later is not seen by this program.
TEST(LanguageIndex, IsReadOnceAndKept) {
  const int first = LanguageIndex();
  const TLanguageKey user(HKEY_CURRENT_USER);
  user.SetLanguage(Dword(first == 0 ? 9 : 7));
  ASSERT_NE(DetectLanguageIndex(), first);
  EXPECT_EQ(LanguageIndex(), first);
  EXPECT_EQ(SharedText(1), SharedText(1, first));
}

TEST(LanguageIndex, AProgramStartedAfterASettingChangeReadsIt) {
  struct TCase {
    const char* Name;
    std::optional<DWORD> Registry;
    std::optional<std::string> CommonFile;
    const char* Expected;
  };
  const TCase cases[] = {
      {"registry German", 7, {}, "0 &Ja"},
      {"all-users file Spanish", {}, std::string("\x0a\x00", 2), "3 &S\xC3\xAD"},
      {"registry fifth language", 16, {}, "4 "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const TLanguageKey user(HKEY_CURRENT_USER);
    const TSettingsFolder common(CommonAppData(), SettingsKey);
    if (c.Registry) user.SetLanguage(Dword(*c.Registry));
    if (c.CommonFile) common.WriteValue(L"Language", *c.CommonFile);
    const TScratchFolder scratch(L"language");
    const std::wstring out = scratch.Path() + L"index.txt";
    const TStartedProgram probe = StartProgram(HelperProgram(L"languageprobe"), L"\"" + out + L"\"");
    ASSERT_TRUE(probe.Process);
    ASSERT_EQ(WaitForExit(probe.Process, 20000), 0u);
    EXPECT_EQ(ReadFileBytes(out).value_or("<none>"), c.Expected);
  }
}
