#include "sysutil/console.h"

#include <string>

#include "sysutil/systemlibrary.h"
#include "sysutil/textconv.h"

namespace {

bool Usable(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }

bool IsConsole(HANDLE handle) {
  DWORD mode = 0;
  return Usable(handle) && GetConsoleMode(handle, &mode);
}

}  // namespace

// A console handle may come along as the standard output (Wine hands its console to every
// child); else a program of the window subsystem has to attach to its parent's console.
TConsoleOutput::TConsoleOutput() {
  const HANDLE standard = GetStdHandle(STD_OUTPUT_HANDLE);
  if (IsConsole(standard)) {
    FOut = standard;
    FConsole = true;
    return;
  }
  if (Usable(standard) && GetFileType(standard) != FILE_TYPE_UNKNOWN) {
    FOut = standard;
    return;
  }
  AttachParentConsole();
  FConsoleOut.Reset(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr));
  if (FConsoleOut.Get() == INVALID_HANDLE_VALUE) {
    FConsoleOut.Release();
    return;
  }
  FOut = FConsoleOut.Get();
  FConsole = true;
}

// Windows 2000 has no AttachConsole.
bool TConsoleOutput::AttachParentConsole() {
  using TAttachConsole = BOOL(WINAPI*)(DWORD);
  const auto attach = LoadedFunction<TAttachConsole>(L"kernel32.dll", "AttachConsole");
  constexpr DWORD ParentProcess = static_cast<DWORD>(-1);
  return attach && attach(ParentProcess);
}

void TConsoleOutput::WriteLine(std::string_view text) const {
  if (!FOut) return;
  DWORD written = 0;
  if (FConsole) {
    const std::wstring line = Widen(text) + L"\r\n";
    WriteConsoleW(FOut, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    return;
  }
  // What console programs write when redirected, and what cmd and PowerShell read back.
  const UINT codePage = GetConsoleOutputCP() ? GetConsoleOutputCP() : GetOEMCP();
  const std::string line = ToCodePage(text, codePage) + "\r\n";
  WriteFile(FOut, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}
