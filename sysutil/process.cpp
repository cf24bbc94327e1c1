#include "sysutil/process.h"

#include "sysutil/textconv.h"

namespace {

// A viewer that never asks for input must not keep the caller waiting for long.
constexpr DWORD InputIdleLimitMs = 10000;
constexpr unsigned Started = 33;

}  // namespace

THandle StartProcess(const std::string& commandLine, std::optional<WORD> show) {
  std::wstring command = Widen(commandLine);  // CreateProcessW may write into it
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  if (show) {
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = *show;
  }
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE,
                      CREATE_NEW_PROCESS_GROUP | NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                      &startup, &info))
    return THandle();
  const THandle thread(info.hThread);
  return THandle(info.hProcess);
}

unsigned ExecCommandLine(const std::string& commandLine, WORD show) {
  const THandle process = StartProcess(commandLine, show);
  if (!process) {
    const DWORD error = GetLastError();
    return error < 32 ? error : ERROR_BAD_FORMAT;
  }
  WaitForInputIdle(process.Get(), InputIdleLimitMs);
  return Started;
}
