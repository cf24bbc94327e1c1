#include "sysutil/registrysnapshot.h"

#include <vector>

#include "sysutil/registryaccess.h"

namespace {

void AppendBlock(std::string& out, const void* data, size_t size) {
  out += std::to_string(size) + ':';
  out.append(static_cast<const char*>(data), size);
}

void AppendSecurity(std::string& out, HKEY key) {
  constexpr SECURITY_INFORMATION parts =
      OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
  DWORD size = 0;
  RegGetKeySecurity(key, parts, nullptr, &size);
  std::vector<BYTE> descriptor(size ? size : 1);
  const LONG status = RegGetKeySecurity(key, parts, descriptor.data(), &size);
  out += "security " + std::to_string(status) + ' ';
  if (status == ERROR_SUCCESS) AppendBlock(out, descriptor.data(), size);
}

void AppendValues(std::string& out, HKEY key) {
  DWORD count = 0, nameMax = 0, dataMax = 0;
  if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                       &nameMax, &dataMax, nullptr, nullptr) != ERROR_SUCCESS)
    return;
  std::vector<wchar_t> name(nameMax + 1);
  std::vector<BYTE> data(dataMax + 1);
  for (DWORD i = 0; i < count; ++i) {
    DWORD nameSize = static_cast<DWORD>(name.size()), dataSize = static_cast<DWORD>(data.size());
    DWORD type = 0;
    const LONG status = RegEnumValueW(key, i, name.data(), &nameSize, nullptr, &type,
                                      data.data(), &dataSize);
    out += "\nvalue " + std::to_string(status) + ' ' + std::to_string(type) + ' ';
    if (status != ERROR_SUCCESS) continue;
    AppendBlock(out, name.data(), nameSize * sizeof(wchar_t));
    AppendBlock(out, data.data(), dataSize);
  }
}

void AppendKey(std::string& out, HKEY parent, const std::string& path) {
  LONG error = ERROR_SUCCESS;
  const TRegKey key = OpenRegKey(parent, path, KEY_READ | READ_CONTROL, &error);
  out += "\nkey " + path + ' ' + std::to_string(error) + ' ';
  if (!key) return;
  AppendSecurity(out, key.Get());
  AppendValues(out, key.Get());
  for (const std::string& sub : RegSubKeyNames(key.Get())) AppendKey(out, parent, path + '\\' + sub);
}

}  // namespace

std::string RegistrySnapshot(HKEY root, const std::string& path) {
  std::string out;
  AppendKey(out, root, path);
  return out;
}
