#include "tests/bed/registryexport.h"

#include <windows.h>

#include <cstdio>

#include "sysutil/handles.h"
#include "sysutil/textconv.h"
#include "tests/bed/keysecurity.h"

namespace {

std::string Hex(const BYTE* data, DWORD size) {
  std::string text;
  char two[4];
  for (DWORD i = 0; i < size; ++i) {
    std::snprintf(two, sizeof(two), "%02X", data[i]);
    text += two;
  }
  return text;
}

void Export(const std::string& path, std::string& out) {
  const TKeySecurity security = ReadKeySecurity(path);
  out += "[" + path + "] owner " + security.Owner + "\n";
  for (const TAce& ace : security.Dacl) {
    char line[96];
    std::snprintf(line, sizeof(line), "  ace type %u flags %02X mask %08lX ", ace.Type, ace.Flags,
                  static_cast<unsigned long>(ace.Mask));
    out += line + ace.Sid + "\n";
  }
  HKEY raw = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, Widen(path).c_str(), 0, KEY_READ | KEY_WOW64_64KEY,
                    &raw) != ERROR_SUCCESS) {
    out += "  (no values readable)\n";
    return;
  }
  const TRegKey key(raw);
  std::vector<std::string> subKeys;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD nameLength = 256, type = 0, size = 0;
    if (RegEnumValueW(raw, i, name, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
      break;
    std::vector<BYTE> data(size + 1);
    nameLength = 256;
    RegEnumValueW(raw, i, name, &nameLength, nullptr, &type, data.data(), &size);
    out += "  " + Narrow(name) + " = " + std::to_string(type) + ":" + Hex(data.data(), size) + "\n";
  }
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD nameLength = 256;
    if (RegEnumKeyExW(raw, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    subKeys.push_back(Narrow(name));
  }
  for (const std::string& sub : subKeys) Export(path + "\\" + sub, out);
}

}  // namespace

std::string ExportKeys(const std::vector<std::string>& paths) {
  std::string out;
  for (const std::string& path : paths) Export(path, out);
  return out;
}
