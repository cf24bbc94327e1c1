#include "sysutil/registryaccess.h"

#include "sysutil/bitness.h"
#include "sysutil/registryfault.h"
#include "sysutil/systemlibrary.h"
#include "sysutil/textconv.h"

namespace {

using TRegDeleteKeyExW = LONG(WINAPI*)(HKEY, LPCWSTR, REGSAM, DWORD);

// Only 64-bit Windows needs the view for a deletion, and all of them have RegDeleteKeyExW.
TRegDeleteKeyExW RegDeleteKeyExFn() {
  static const auto function =
      LoadedFunction<TRegDeleteKeyExW>(L"advapi32.dll", "RegDeleteKeyExW");
  return function;
}

std::wstring KeyPath(const std::string& path) {
  std::wstring wide = Widen(path);
  while (!wide.empty() && wide.back() == L'\\') wide.pop_back();
  return wide;
}

TRegKey Finish(LONG status, HKEY raw, LONG* error) {
  if (error) *error = status;
  return status == ERROR_SUCCESS ? TRegKey(raw) : TRegKey();
}

}  // namespace

REGSAM RegistryAccess(REGSAM access) {
  static const bool wide = Is64BitProcessOrWow64();
  return wide ? access | KEY_WOW64_64KEY : access;
}

TRegKey OpenRegKey(HKEY parent, const std::string& path, REGSAM access, LONG* error) {
  if (const LONG fault = InjectedRegistryFault(TRegistryCall::Open, path))
    return Finish(fault, nullptr, error);
  HKEY raw = nullptr;
  const LONG status =
      RegOpenKeyExW(parent, KeyPath(path).c_str(), 0, RegistryAccess(access), &raw);
  return Finish(status, raw, error);
}

TRegKey CreateRegKey(HKEY parent, const std::string& path, REGSAM access, LONG* error) {
  if (const LONG fault = InjectedRegistryFault(TRegistryCall::Create, path))
    return Finish(fault, nullptr, error);
  HKEY raw = nullptr;
  const LONG status = RegCreateKeyExW(parent, KeyPath(path).c_str(), 0, nullptr, 0,
                                      RegistryAccess(access), nullptr, &raw, nullptr);
  return Finish(status, raw, error);
}

LONG DeleteRegKeyTree(HKEY parent, const std::string& path) {
  const std::wstring wide = KeyPath(path);
  const size_t slash = wide.rfind(L'\\');
  const std::wstring name = slash == std::wstring::npos ? wide : wide.substr(slash + 1);
  if (name.empty()) return ERROR_BADKEY;  // never the parent itself
  LONG status = ERROR_SUCCESS;
  const TRegKey owner =
      slash == std::wstring::npos
          ? TRegKey()
          : OpenRegKey(parent, Narrow(wide.substr(0, slash)), KEY_ENUMERATE_SUB_KEYS, &status);
  if (status != ERROR_SUCCESS) return status;
  const HKEY container = owner ? owner.Get() : parent;
  {
    const TRegKey key = OpenRegKey(container, Narrow(name), KEY_READ, &status);
    if (!key) return status;
    for (const std::string& sub : RegSubKeyNames(key.Get())) {
      const LONG subStatus = DeleteRegKeyTree(key.Get(), sub);
      if (subStatus != ERROR_SUCCESS && status == ERROR_SUCCESS) status = subStatus;
    }
  }
  if (status != ERROR_SUCCESS) return status;
  // A 32-bit caller's plain RegDeleteKey may be redirected even below a 64-bit handle.
  const REGSAM view = RegistryAccess(0);
  if (view != 0 && RegDeleteKeyExFn()) return RegDeleteKeyExFn()(container, name.c_str(), view, 0);
  return RegDeleteKeyW(container, name.c_str());
}

bool RegSubKeyExists(HKEY key, const std::string& name) {
  return static_cast<bool>(OpenRegKey(key, name, KEY_QUERY_VALUE));
}

std::vector<std::string> RegSubKeyNames(HKEY key) {
  std::vector<std::string> names;
  DWORD longest = 0;
  if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, &longest, nullptr, nullptr,
                       nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
    longest = 255;
  std::wstring name;
  for (DWORD i = 0;; ++i) {
    name.assign(longest + 1, L'\0');
    DWORD length = longest + 1;
    const LONG status =
        RegEnumKeyExW(key, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_MORE_DATA && longest < 32767) {  // a longer name came since the query
      longest = longest * 2 + 256;
      --i;
      continue;
    }
    if (status != ERROR_SUCCESS) break;
    names.push_back(Narrow(std::wstring_view(name.data(), length)));
  }
  return names;
}
