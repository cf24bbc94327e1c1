#include "tests/doubles/commands/commandlog.h"

#include <windows.h>

#include <cwctype>
#include <string>

#include "sysutil/handles.h"
#include "sysutil/textconv.h"

namespace {

std::wstring ProgramName() {
  wchar_t path[MAX_PATH] = L"";
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring name = path;
  name = name.substr(name.find_last_of(L'\\') + 1);
  for (wchar_t& c : name) c = static_cast<wchar_t>(std::towlower(c));
  return name;
}

void Append(const std::wstring& fields) {
  wchar_t log[MAX_PATH * 2] = L"";
  if (!GetEnvironmentVariableW(L"CARDMEND_COMMAND_LOG", log, MAX_PATH * 2)) return;
  const std::string line = Narrow(fields) + "\n";
  // Starts never overlap; the retries only ride out a moment's sharing.
  for (int attempt = 0; attempt < 50; ++attempt) {
    const THandle file(CreateFileW(log, FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) {
      DWORD written = 0;
      WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
      return;
    }
    Sleep(20);
  }
}

}  // namespace

void RecordCommand() {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  GetStartupInfoW(&startup);
  const std::wstring show =
      (startup.dwFlags & STARTF_USESHOWWINDOW) ? std::to_wstring(startup.wShowWindow) : L"-";
  Append(ProgramName() + L"\t" + GetCommandLineW() + L"\t" + show);
}

void RecordEnd() { Append(ProgramName() + L"\t\tended"); }
