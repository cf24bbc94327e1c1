// Writes what Windows says about its own version to the file named on the command line,
// one "name=value" line each, for tests that switch the version Wine reports.
// A program of its own because Wine fixes the reported version when a process starts.
#include <windows.h>

#include <cstdio>
#include <string>

#include "sysutil/handles.h"
#include "tests/helpers/reportfile.h"

namespace {

using TGetProductInfo = BOOL(WINAPI*)(DWORD, DWORD, DWORD, DWORD, PDWORD);
using TIsWow64Process = BOOL(WINAPI*)(HANDLE, PBOOL);

// Both are missing from the older systems the program runs on.
template <typename F>
F Resolve(const char* name) {
  const FARPROC f = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name);
  return f ? reinterpret_cast<F>(reinterpret_cast<void*>(f)) : nullptr;
}

void Line(std::string& out, const char* name, unsigned long value) {
  char text[64];
  std::snprintf(text, sizeof text, "%s=%lu\n", name, value);
  out += text;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  const std::wstring path = ReportPath(commandLine);
  if (path.empty()) return 2;

  std::string out;
  OSVERSIONINFOEXA v{};
  v.dwOSVersionInfoSize = sizeof v;
  const bool ex = GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&v)) != FALSE;
  if (!ex) {
    v = OSVERSIONINFOEXA{};
    v.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&v))) return 3;
  }
  Line(out, "ex", ex);
  Line(out, "major", v.dwMajorVersion);
  Line(out, "minor", v.dwMinorVersion);
  Line(out, "build", v.dwBuildNumber);
  Line(out, "platform", v.dwPlatformId);
  out += "csd=";
  out += v.szCSDVersion;
  out += '\n';
  Line(out, "spmajor", v.wServicePackMajor);
  Line(out, "spminor", v.wServicePackMinor);
  Line(out, "suite", v.wSuiteMask);
  Line(out, "producttype", v.wProductType);
  Line(out, "getversion", GetVersion());

  // "none" when the function is missing, "fail" when it answered FALSE.
  if (const auto getProductInfo = Resolve<TGetProductInfo>("GetProductInfo")) {
    DWORD type = 0;
    if (getProductInfo(v.dwMajorVersion, v.dwMinorVersion, v.wServicePackMajor, v.wServicePackMinor,
                       &type))
      Line(out, "productinfo", type);
    else
      out += "productinfo=fail\n";
  } else {
    out += "productinfo=none\n";
  }
  if (const auto isWow64 = Resolve<TIsWow64Process>("IsWow64Process")) {
    BOOL wow = FALSE;
    if (isWow64(GetCurrentProcess(), &wow))
      Line(out, "wow64", wow != FALSE);
    else
      out += "wow64=fail\n";
  } else {
    out += "wow64=none\n";
  }
  Line(out, "mediacenter", GetSystemMetrics(87));  // SM_MEDIACENTER
  Line(out, "tabletpc", GetSystemMetrics(86));     // SM_TABLETPC
  Line(out, "serverr2", GetSystemMetrics(89));     // SM_SERVERR2

  return WriteReport(path, out) ? 0 : 4;
}
