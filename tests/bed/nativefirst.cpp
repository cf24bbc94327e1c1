#include "tests/bed/nativefirst.h"

#include <windows.h>

#include "sysutil/handles.h"

namespace {

constexpr wchar_t OverridesKey[] = L"Software\\Wine\\DllOverrides";

TRegKey Overrides() {
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, OverridesKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                  nullptr, &key, nullptr);
  return TRegKey(key);
}

std::optional<std::wstring> Read(HKEY key, const std::wstring& name) {
  wchar_t value[64] = L"";
  DWORD size = sizeof(value) - sizeof(wchar_t), type = 0;
  if (RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value), &size) !=
          ERROR_SUCCESS ||
      type != REG_SZ)
    return std::nullopt;
  return std::wstring(value);
}

void Write(HKEY key, const std::wstring& name, const std::optional<std::wstring>& value) {
  if (!value) {
    RegDeleteValueW(key, name.c_str());
    return;
  }
  RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value->c_str()),
                 static_cast<DWORD>((value->size() + 1) * sizeof(wchar_t)));
}

}  // namespace

TNativeFirst::TNativeFirst(const std::vector<std::wstring>& names) {
  const TRegKey key = Overrides();
  if (!key) return;
  for (const std::wstring& name : names) {
    FSaved.emplace_back(name, Read(key.Get(), name));
    Write(key.Get(), name, L"native,builtin");
  }
}

TNativeFirst::~TNativeFirst() {
  const TRegKey key = Overrides();
  if (!key) return;
  for (const auto& [name, value] : FSaved) Write(key.Get(), name, value);
}
