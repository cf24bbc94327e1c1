// Starts like the program does, resolving the security functions it loads by name, then
// writes to the file named on the command line where each of those libraries came from:
// "aclapi=<path>" and "advapi32=<path>", an empty path for one that is not loaded.
#include <windows.h>

#include <string>

#include "sysutil/handles.h"
#include "sysutil/security.h"
#include "sysutil/textconv.h"
#include "tests/helpers/reportfile.h"

namespace {

std::string LoadedFrom(const wchar_t* name) {
  const HMODULE module = GetModuleHandleW(name);
  if (!module) return "";
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(module, path, MAX_PATH);
  return Narrow(std::wstring_view(path, n));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  const std::wstring report = ReportPath(commandLine);
  if (report.empty()) return 2;
  // Links the security unit, whose start resolves the functions.
  if (RegistryRootName(HKEY_LOCAL_MACHINE).empty()) return 3;
  const std::string text = "aclapi=" + LoadedFrom(L"ACLAPI.DLL") + "\nadvapi32=" +
                           LoadedFrom(L"advapi32.dll") + "\n";
  return WriteReport(report, text) ? 0 : 4;
}
