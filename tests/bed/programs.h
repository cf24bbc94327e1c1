#pragma once
// Starting the programs under test and watching their windows from the outside.
#include <windows.h>

#include <string>

#include "sysutil/handles.h"

struct TStartedProgram {
  THandle Process;
  DWORD ProcessId = 0;
};

// CreateProcessW, tried once more when Wine answers ERROR_INTERNAL_ERROR: now and then a
// new process dies while Wine sets it up (its service manager then reports the same error
// for a service it could not start), and a second start works.
BOOL CreateTestProcess(const wchar_t* application, wchar_t* commandLine, BOOL inheritHandles,
                       DWORD flags, STARTUPINFOW* startup, PROCESS_INFORMATION* info);

// Starts `path` (quoted) with `arguments`; an empty Process when it could not start.
TStartedProgram StartProgram(const std::wstring& path, const std::wstring& arguments = L"");

// The first visible top-level window of class `className` that belongs to process `pid`,
// waiting for it up to `timeoutMs`; NULL when none showed.
HWND WaitForWindow(DWORD pid, const wchar_t* className, DWORD timeoutMs);

// Polls `condition` until it holds or `timeoutMs` passes; the last answer.
template <typename F>
bool WaitUntil(F condition, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start >= timeoutMs) return condition();
    Sleep(20);
  }
  return true;
}

// Waits for the process to end; its exit code, or STILL_ACTIVE after the time-out.
DWORD WaitForExit(const THandle& process, DWORD timeoutMs);

// The first descendant of `parent` whose text is `text`; NULL when there is none.
HWND FindChildByText(HWND parent, const wchar_t* text);

// How many top-level windows of class `className` exist, of any process.
int CountWindows(const wchar_t* className);
