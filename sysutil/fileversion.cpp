#include "sysutil/fileversion.h"

#include <windows.h>

#include <charconv>
#include <cstdio>
#include <vector>

#include "sysutil/systemlibrary.h"
#include "sysutil/textconv.h"

namespace {

using TInfoSize = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
using TInfo = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
using TQuery = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);

struct TVersionFunctions {
  TInfoSize InfoSize;
  TInfo Info;
  TQuery Query;
};

const TVersionFunctions& VersionFunctions() {
  static const TModule library = LoadSystemLibrary("version.dll");
  static const TVersionFunctions functions{
      ModuleFunction<TInfoSize>(library.Get(), "GetFileVersionInfoSizeW"),
      ModuleFunction<TInfo>(library.Get(), "GetFileVersionInfoW"),
      ModuleFunction<TQuery>(library.Get(), "VerQueryValueW")};
  return functions;
}

}  // namespace

std::string FormatFileVersion(const std::string& version) {
  size_t dots = 0, third = std::string::npos;
  for (size_t i = 0; i + 1 < version.size() && dots < 3; ++i) {
    if (version[i] != '.') continue;
    if (++dots == 3) third = i;
  }
  if (dots == 3) {
    const std::string tail = version.substr(third + 1);
    unsigned long build = 0;
    const auto [end, error] = std::from_chars(tail.data(), tail.data() + tail.size(), build);
    // A build that is no decimal number is shown as it stands.
    if (error != std::errc() || end != tail.data() + tail.size()) return "V" + version;
    return "V" + version.substr(0, third) + ", Build " + std::to_string(build);
  }
  if (dots == 2) return "V" + version;
  if (dots == 1) return "V" + version + ".0";
  return "V" + version + ".0.0";
}

std::string FileVersionString(const std::string& file, const std::string& defaultVersion) {
  const TVersionFunctions& api = VersionFunctions();
  if (!api.InfoSize || !api.Info || !api.Query) return "V" + defaultVersion;
  const std::wstring path = Widen(file);
  DWORD ignored = 0;
  const DWORD size = api.InfoSize(path.c_str(), &ignored);
  if (size == 0) return "V" + defaultVersion;
  std::vector<DWORD> data((size + sizeof(DWORD) - 1) / sizeof(DWORD));
  std::string version;
  void* translation = nullptr;
  UINT length = 0;
  // VerQueryValue skips empty path parts, so the doubled backslashes do no harm.
  if (api.Info(path.c_str(), 0, size, data.data()) &&
      api.Query(data.data(), L"\\\\VarFileInfo\\\\Translation", &translation, &length) &&
      length >= 2 * sizeof(WORD)) {
    const WORD* pair = static_cast<const WORD*>(translation);
    wchar_t query[64];
    std::swprintf(query, 64, L"\\\\StringFileInfo\\\\%4.4x%4.4x\\\\FileVersion", pair[0], pair[1]);
    void* text = nullptr;
    if (api.Query(data.data(), query, &text, &length) && length > 0)
      version = Narrow(static_cast<const wchar_t*>(text));
  }
  return FormatFileVersion(version);
}
