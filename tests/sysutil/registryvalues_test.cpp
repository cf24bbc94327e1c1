#include "sysutil/registryvalues.h"

#include <gtest/gtest.h>

#include "sysutil/registryfault.h"
#include "tests/bed/repairfixture.h"

namespace {

const char* const Scratch = "Software\\CardmendTest\\Values";

class RegistryValues : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteKey64(Scratch);
    CreateKey64(Scratch);
    FKey.Reset(OpenKey64(Scratch, KEY_ALL_ACCESS));
    ASSERT_TRUE(FKey);
  }
  void TearDown() override {
    FKey.Reset();
    DeleteKey64(Scratch);
  }
  void Store(const std::string& name, DWORD type, const void* data, DWORD size) {
    RegSetValueExA(FKey.Get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
  }
  TRegKey FKey;
};

}  // namespace

TEST_F(RegistryValues, ReadsTextOnlyFromStringTypes) {
  Store("plain", REG_SZ, "SmartCardGroup", 15);
  Store("expand", REG_EXPAND_SZ, "%SystemRoot%\\x", 15);
  Store("unterminated", REG_SZ, "LocalSystemXYZ", 11);  // no NUL stored
  Store("embedded", REG_SZ, "Local\0System", 13);
  Store("number", REG_DWORD, "\2\0\0\0", 4);
  Store("binary", REG_BINARY, "Text", 5);
  Store("multi", REG_MULTI_SZ, "a\0b\0", 5);
  // Half a character at the end, as a program that counts bytes wrongly leaves it.
  RegSetValueExW(FKey.Get(), L"odd", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"LocalSystemX"), 23);
  struct TCase {
    const char* Name;
    LONG Status;
    std::string Text;
  };
  const TCase cases[] = {
      {"plain", ERROR_SUCCESS, "SmartCardGroup"},
      {"expand", ERROR_SUCCESS, "%SystemRoot%\\x"},
      {"unterminated", ERROR_SUCCESS, "LocalSystem"},
      {"embedded", ERROR_SUCCESS, "Local"},
      {"odd", ERROR_SUCCESS, "LocalSystem"},
      {"missing", ERROR_SUCCESS, ""},
      {"number", ERROR_INVALID_DATATYPE, "untouched"},
      {"binary", ERROR_INVALID_DATATYPE, "untouched"},
      {"multi", ERROR_INVALID_DATATYPE, "untouched"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    std::string text = "untouched";
    EXPECT_EQ(ReadRegString(FKey.Get(), c.Name, text), c.Status);
    EXPECT_EQ(text, c.Text);
  }
}

TEST_F(RegistryValues, ReadsNumbersOnlyFromFourByteDwords) {
  Store("number", REG_DWORD, "\4\0\0\0", 4);
  Store("short", REG_DWORD, "\4\0", 2);
  Store("binary", REG_BINARY, "\4\0\0\0", 4);
  Store("text", REG_SZ, "4", 2);
  Store("long", REG_QWORD, "\4\0\0\0\0\0\0\0", 8);
  const std::pair<const char*, LONG> cases[] = {
      {"number", ERROR_SUCCESS},          {"short", ERROR_INVALID_DATATYPE},
      {"binary", ERROR_INVALID_DATATYPE}, {"text", ERROR_INVALID_DATATYPE},
      {"long", ERROR_INVALID_DATATYPE},   {"missing", ERROR_FILE_NOT_FOUND},
  };
  for (const auto& [name, status] : cases) {
    SCOPED_TRACE(name);
    DWORD value = 99;
    EXPECT_EQ(ReadRegDword(FKey.Get(), name, value), status);
    EXPECT_EQ(value, status == ERROR_SUCCESS ? 4u : 99u);
  }
}

TEST_F(RegistryValues, WritesEachTypeAsWindowsStoresIt) {
  ASSERT_EQ(WriteRegString(FKey.Get(), "sz", "NT AUTHORITY\\LocalService"), ERROR_SUCCESS);
  ASSERT_EQ(WriteRegExpandString(FKey.Get(), "expand", "%SystemRoot%\\a b"), ERROR_SUCCESS);
  ASSERT_EQ(WriteRegDword(FKey.Get(), "dword", 32), ERROR_SUCCESS);
  ASSERT_EQ(WriteRegMultiString(FKey.Get(), "multi", {"PlugPlay"}), ERROR_SUCCESS);
  ASSERT_EQ(WriteRegString(FKey.Get(), "umlaut", "Ger\xC3\xA4t"), ERROR_SUCCESS);
  EXPECT_EQ(ReadValue64(Scratch, "sz"), Sz("NT AUTHORITY\\LocalService"));
  EXPECT_EQ(ReadValue64(Scratch, "expand"), ExpandSz("%SystemRoot%\\a b"));
  EXPECT_EQ(ReadValue64(Scratch, "dword"), Dword(32));
  // "PlugPlay", its NUL and the NUL that closes the list.
  EXPECT_EQ(ReadValue64(Scratch, "multi"), MultiSz({"PlugPlay"}));
  EXPECT_EQ(ReadValue64(Scratch, "multi")->Data.size(), 20u);
  std::string text;
  EXPECT_EQ(ReadRegString(FKey.Get(), "umlaut", text), ERROR_SUCCESS);
  EXPECT_EQ(text, "Ger\xC3\xA4t");
}

TEST_F(RegistryValues, AnInjectedFaultStopsTheWriteBeforeWindowsSeesIt) {
  const TRegistryFaultScope fault([](TRegistryCall call, std::string_view name) -> LONG {
    return call == TRegistryCall::Write && name == "refused" ? ERROR_ACCESS_DENIED
                                                             : ERROR_SUCCESS;
  });
  EXPECT_EQ(WriteRegDword(FKey.Get(), "refused", 1), ERROR_ACCESS_DENIED);
  EXPECT_EQ(WriteRegDword(FKey.Get(), "allowed", 1), ERROR_SUCCESS);
  EXPECT_FALSE(RegValueExists(FKey.Get(), "refused"));
  EXPECT_TRUE(RegValueExists(FKey.Get(), "allowed"));
}
