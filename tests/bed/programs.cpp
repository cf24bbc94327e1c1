#include "tests/bed/programs.h"

BOOL CreateTestProcess(const wchar_t* application, wchar_t* commandLine, BOOL inheritHandles,
                       DWORD flags, STARTUPINFOW* startup, PROCESS_INFORMATION* info) {
  for (int attempt = 1;; ++attempt) {
    if (CreateProcessW(application, commandLine, nullptr, nullptr, inheritHandles, flags, nullptr,
                       nullptr, startup, info))
      return TRUE;
    if (GetLastError() != ERROR_INTERNAL_ERROR || attempt == 2) return FALSE;
    Sleep(200);
  }
}

TStartedProgram StartProgram(const std::wstring& path, const std::wstring& arguments) {
  std::wstring commandLine = L"\"" + path + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  TStartedProgram started;
  if (CreateTestProcess(nullptr, commandLine.data(), FALSE, 0, &si, &pi)) {
    CloseHandle(pi.hThread);
    started.Process.Reset(pi.hProcess);
    started.ProcessId = pi.dwProcessId;
  }
  return started;
}

namespace {

struct TWindowSearch {
  DWORD ProcessId;
  const wchar_t* ClassName;
  HWND Found;
  int Count;
};

bool HasClass(HWND h, const wchar_t* className) {
  wchar_t name[256];
  return GetClassNameW(h, name, 256) && lstrcmpW(name, className) == 0;
}

BOOL CALLBACK FindVisible(HWND h, LPARAM lp) {
  auto* search = reinterpret_cast<TWindowSearch*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  if (pid == search->ProcessId && IsWindowVisible(h) && HasClass(h, search->ClassName)) {
    search->Found = h;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK CountClass(HWND h, LPARAM lp) {
  auto* search = reinterpret_cast<TWindowSearch*>(lp);
  if (HasClass(h, search->ClassName)) ++search->Count;
  return TRUE;
}

struct TTextSearch {
  const wchar_t* Text;
  HWND Found;
};

BOOL CALLBACK FindText(HWND h, LPARAM lp) {
  auto* search = reinterpret_cast<TTextSearch*>(lp);
  wchar_t text[256];
  GetWindowTextW(h, text, 256);
  if (lstrcmpW(text, search->Text) != 0) return TRUE;
  search->Found = h;
  return FALSE;
}

}  // namespace

HWND FindChildByText(HWND parent, const wchar_t* text) {
  TTextSearch search{text, nullptr};
  EnumChildWindows(parent, &FindText, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

HWND WaitForWindow(DWORD pid, const wchar_t* className, DWORD timeoutMs) {
  TWindowSearch search{pid, className, nullptr, 0};
  WaitUntil(
      [&] {
        EnumWindows(&FindVisible, reinterpret_cast<LPARAM>(&search));
        return search.Found != nullptr;
      },
      timeoutMs);
  return search.Found;
}

DWORD WaitForExit(const THandle& process, DWORD timeoutMs) {
  WaitForSingleObject(process.Get(), timeoutMs);
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process.Get(), &code);
  return code;
}

int CountWindows(const wchar_t* className) {
  TWindowSearch search{0, className, nullptr, 0};
  EnumWindows(&CountClass, reinterpret_cast<LPARAM>(&search));
  return search.Count;
}
