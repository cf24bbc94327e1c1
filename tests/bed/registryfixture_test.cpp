#include "tests/bed/registryfixture.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include "sysutil/handles.h"

namespace {

const wchar_t Base[] = L"Software\\CardmendFixtureTest";

std::wstring Read(const std::wstring& key, const std::wstring& name) {
  HKEY raw = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS)
    return L"<none>";
  const TRegKey owner(raw);
  wchar_t value[64] = L"";
  DWORD size = sizeof(value) - sizeof(wchar_t);
  if (RegQueryValueExW(raw, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(value),
                       &size) != ERROR_SUCCESS)
    return L"<none>";
  return value;
}

bool KeyExists(const std::wstring& key) {
  HKEY raw = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS)
    return false;
  RegCloseKey(raw);
  return true;
}

void Write(const std::wstring& key, const std::wstring& name, const std::wstring& value) {
  HKEY raw = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &raw,
                  nullptr);
  const TRegKey owner(raw);
  RegSetValueExW(raw, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

}  // namespace

TEST(RegistryFixture, PutsBackWhatTheTestChangedOrRemoved) {
  const std::wstring base = Base;
  Write(base + L"\\Kept", L"", L"kept default");
  Write(base + L"\\Kept\\Deep", L"name", L"deep value");
  {
    TRegistryFixture registry;
    registry.SetString(HKEY_CURRENT_USER, base + L"\\Kept", L"", L"changed");
    registry.RemoveKey(HKEY_CURRENT_USER, base + L"\\Kept");
    registry.SetString(HKEY_CURRENT_USER, base + L"\\Kept\\New", L"", L"new");
    registry.SetString(HKEY_CURRENT_USER, base + L"\\Fresh\\Sub", L"x", L"fresh");
    ASSERT_EQ(Read(base + L"\\Kept", L""), L"<none>");
    ASSERT_FALSE(KeyExists(base + L"\\Kept\\Deep"));
  }
  EXPECT_EQ(Read(base + L"\\Kept", L""), L"kept default");
  EXPECT_EQ(Read(base + L"\\Kept\\Deep", L"name"), L"deep value");
  EXPECT_FALSE(KeyExists(base + L"\\Kept\\New"));
  EXPECT_FALSE(KeyExists(base + L"\\Fresh"));
  SHDeleteKeyW(HKEY_CURRENT_USER, Base);
}
