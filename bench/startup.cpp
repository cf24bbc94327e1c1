// startup RUNS PROGRAM CLASS [PROGRAM CLASS ...]
// Times each program from CreateProcessW until its first wait for input: WaitForInputIdle
// returns once the new process's message loop finds its queue empty, so after its first
// WM_PAINT has been handled. The programs take turns, and every run ends before the next
// starts (Cardmend lets only one copy run). One untimed run per program comes first, so
// that the first timed run does not pay for a cold file cache.
// Prints one line per program: NAME MEDIAN_MS MIN_MS MAX_MS RUNS. Ends with 1 when a run
// failed: no start, no idle, or no visible window of CLASS.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "bench/clock.h"

namespace {

struct TWindowSearch {
  DWORD ProcessId;
  const wchar_t* ClassName;
  HWND Found;
};

BOOL CALLBACK MatchWindow(HWND h, LPARAM lp) {
  auto* search = reinterpret_cast<TWindowSearch*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  wchar_t name[256];
  if (pid == search->ProcessId && IsWindowVisible(h) &&
      GetClassNameW(h, name, 256) > 0 && std::wcscmp(name, search->ClassName) == 0) {
    search->Found = h;
    return FALSE;
  }
  return TRUE;
}

HWND VisibleWindow(DWORD processId, const wchar_t* className) {
  TWindowSearch search{processId, className, nullptr};
  EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

std::wstring BaseName(const std::wstring& path) {
  const auto slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// Milliseconds to the first idle, or a negative number when the run failed.
double StartOnce(const std::wstring& program, const wchar_t* className) {
  std::wstring commandLine = L"\"" + program + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};

  const double start = NowMs();
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &si, &pi)) {
    std::fwprintf(stderr, L"%ls: CreateProcessW failed, error %lu\n", program.c_str(),
                  GetLastError());
    return -1;
  }
  const DWORD idle = WaitForInputIdle(pi.hProcess, 60000);
  const double elapsed = NowMs() - start;
  CloseHandle(pi.hThread);

  double result = elapsed;
  HWND window = nullptr;
  if (idle != 0) {
    std::fwprintf(stderr, L"%ls: no input idle (WaitForInputIdle gave %lu)\n", program.c_str(),
                  idle);
    result = -1;
  } else if (WaitForSingleObject(pi.hProcess, 0) != WAIT_TIMEOUT) {
    std::fwprintf(stderr, L"%ls: ended before showing a window\n", program.c_str());
    result = -1;
  } else if (!(window = VisibleWindow(pi.dwProcessId, className))) {
    std::fwprintf(stderr, L"%ls: idle, but no visible window of class %ls\n", program.c_str(),
                  className);
    result = -1;
  }

  if (window) PostMessageW(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(pi.hProcess, window ? 10000 : 0) != WAIT_OBJECT_0) {
    if (window) std::fwprintf(stderr, L"%ls: still running 10 s after WM_CLOSE\n", program.c_str());
    TerminateProcess(pi.hProcess, 1);
    WaitForSingleObject(pi.hProcess, 10000);
  }
  CloseHandle(pi.hProcess);
  return result;
}

struct TTarget {
  std::wstring Program;
  std::wstring ClassName;
  std::vector<double> Times;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4 || argc % 2 != 0) {
    std::fwprintf(stderr, L"usage: startup RUNS PROGRAM CLASS [PROGRAM CLASS ...]\n");
    return 2;
  }
  const int runs = std::max(1, _wtoi(argv[1]));
  std::vector<TTarget> targets;
  for (int i = 2; i + 1 < argc; i += 2) targets.push_back({argv[i], argv[i + 1], {}});

  for (int run = -1; run < runs; ++run) {
    for (TTarget& target : targets) {
      const double ms = StartOnce(target.Program, target.ClassName.c_str());
      if (ms < 0) return 1;
      if (run >= 0) target.Times.push_back(ms);
    }
  }

  for (const TTarget& target : targets) {
    const auto [low, high] = std::minmax_element(target.Times.begin(), target.Times.end());
    std::wprintf(L"%ls %.1f %.1f %.1f %d\n", BaseName(target.Program).c_str(),
                 Median(target.Times), *low, *high, runs);
  }
  return 0;
}
