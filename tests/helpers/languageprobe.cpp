// Writes the component library's language index, as this program read it when it started,
// and its "Yes" text to the file named on the command line: "<index> <text>".
#include <windows.h>

#include <string>

#include "sysutil/sharedtexts.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  std::wstring path = commandLine;
  if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"')
    path = path.substr(1, path.size() - 2);
  if (path.empty()) return 2;
  const std::string out = std::to_string(LanguageIndex()) + " " + SharedText(1);
  const HANDLE file =
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 3;
  DWORD written = 0;
  const bool ok = WriteFile(file, out.data(), static_cast<DWORD>(out.size()), &written, nullptr);
  CloseHandle(file);
  return ok ? 0 : 4;
}
