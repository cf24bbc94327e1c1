// Reports how it was started, for tests of command lines: its own path, its raw command
// line and the show state it was given go as UTF-8 lines to the file named by
// CARDMEND_ECHO_FILE. With CARDMEND_ECHO_COPY set it first copies the file named by its
// last argument there, as a viewer reads its document. Then it waits for messages a
// moment like any window program, so a starter that waits for it to become idle returns
// only after the copy.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "sysutil/handles.h"
#include "sysutil/textconv.h"
#include "tests/bed/echorecord.h"

namespace {

std::wstring Variable(const wchar_t* name) {
  const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
  if (size == 0) return {};
  std::wstring value(size, L'\0');
  value.resize(GetEnvironmentVariableW(name, value.data(), size));
  return value;
}

void CopyLastArgument(const std::wstring& target) {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (arguments && count > 1) CopyFileW(arguments[count - 1], target.c_str(), FALSE);
  LocalFree(arguments);
}

std::string ShowState() {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  GetStartupInfoW(&startup);
  if (!(startup.dwFlags & STARTF_USESHOWWINDOW)) return "-";
  return std::to_string(startup.wShowWindow);
}

// Written under another name first, so the reader never sees half a record.
void WriteRecord(const std::wstring& target) {
  wchar_t module[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, module, MAX_PATH);
  const std::string text = Narrow(std::wstring_view(module, n)) + "\n" +
                           Narrow(GetCommandLineW()) + "\n" + ShowState() + "\n";
  const std::wstring partial = target + L".part";
  {
    const HANDLE raw =
        CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (raw == INVALID_HANDLE_VALUE) return;
    const THandle file(raw);
    DWORD written = 0;
    WriteFile(raw, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  }
  MoveFileExW(partial.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING);
}

void IdleAMoment() {
  SetTimer(nullptr, 0, 300, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0 && msg.message != WM_TIMER) DispatchMessageW(&msg);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, wchar_t*, int) {
  const std::wstring copy = Variable(EchoCopyVariable);
  if (!copy.empty()) CopyLastArgument(copy);
  const std::wstring record = Variable(EchoFileVariable);
  if (!record.empty()) WriteRecord(record);
  IdleAMoment();
  return 0;
}
