#include "sysutil/wait.h"

#include <windows.h>

#include <algorithm>
#include <optional>

#include "sysutil/nativesystemfolder.h"
#include "sysutil/process.h"

namespace {

// Dispatches messages until `object` (when given) is signalled or `limitMs` have passed
// (no limit when empty). Sleeps between messages instead of polling for them.
void WaitDispatching(HANDLE object, std::optional<DWORD> limitMs) {
  const DWORD start = GetTickCount();
  const DWORD count = object ? 1 : 0;
  for (;;) {
    if (object && WaitForSingleObject(object, 0) != WAIT_TIMEOUT) return;
    DWORD left = INFINITE;
    if (limitMs) {
      const DWORD elapsed = GetTickCount() - start;  // unsigned: survives the tick wrap
      if (elapsed >= *limitMs) return;
      left = std::min<DWORD>(*limitMs - elapsed, INFINITE - 1);
    }
    PumpMessages();
    // MWMO_INPUTAVAILABLE: also wake for input that is queued but was already seen, say by
    // a window procedure that peeked while it was dispatched.
    if (MsgWaitForMultipleObjectsEx(count, &object, left, QS_ALLINPUT, MWMO_INPUTAVAILABLE) ==
        WAIT_FAILED)
      return;
  }
}

std::string CommandLine(const std::string& program, const std::string& parameters) {
  return "\"" + program + "\" " + parameters;
}

// A program of the System folder is the native one also for this 32-bit program on 64-bit
// Windows: the 32-bit System folder of XP x64 and Server 2003 x64 has no scardsvr.exe. The
// redirection is off for the start alone, not for the messages handled while waiting.
THandle StartNative(const std::string& commandLine, std::optional<WORD> show) {
  const TNativeSystemFolder native;
  return StartProcess(commandLine, show);
}

}  // namespace

void PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void Delay(std::uint32_t ms) {
  if (ms > 0) WaitDispatching(nullptr, ms);
}

bool RunProgram(const std::string& program, const std::string& parameters, bool wait) {
  const THandle process = StartNative(CommandLine(program, parameters), std::nullopt);
  if (process && wait) WaitDispatching(process.Get(), std::nullopt);
  return static_cast<bool>(process);
}

bool RunProgramTimed(const std::string& program, const std::string& parameters,
                     std::uint32_t timeoutMs, bool show) {
  const std::optional<WORD> showState = show ? std::nullopt : std::optional<WORD>(SW_HIDE);
  const THandle process = StartNative(CommandLine(program, parameters), showState);
  if (process && timeoutMs > 0) WaitDispatching(process.Get(), timeoutMs);
  return static_cast<bool>(process);
}
