#include "sysutil/system.h"

#include "sysutil/handles.h"
#include "sysutil/security.h"
#include "sysutil/systemlibrary.h"
#include "sysutil/textconv.h"

namespace {

void EnableShutdownPrivilege() {
  HANDLE raw = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &raw)) return;
  SetPrivilege(THandle(raw).Get(), "SeShutdownPrivilege", true);
}

std::string FolderWithSlash(UINT(WINAPI* query)(LPWSTR, UINT), const char* fallbackNT,
                            const char* fallback9x) {
  wchar_t buffer[MAX_PATH];
  const UINT n = query(buffer, MAX_PATH);
  std::string folder = n > 0 && n < MAX_PATH ? Narrow(std::wstring_view(buffer, n))
                                             : std::string(IsWindowsNT() ? fallbackNT : fallback9x);
  if (folder.back() != '\\') folder += '\\';
  return folder;
}

bool IsForeground(HWND window) { return GetForegroundWindow() == window; }

// 98, Me, 2000 and later refuse the foreground to a program the user is not working with.
bool HasForegroundLock() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
  if (!GetVersionExW(&info)) return false;
  if (info.dwPlatformId == VER_PLATFORM_WIN32_NT) return info.dwMajorVersion > 4;
  return info.dwMajorVersion > 4 || (info.dwMajorVersion == 4 && info.dwMinorVersion > 0);
}

void BringToFront(HWND window) {
  BringWindowToTop(window);
  SetForegroundWindow(window);
}

// Shares the foreground window's input state, which lets this thread take the foreground.
void BringToFrontAttached(HWND window) {
  const DWORD ownThread = GetWindowThreadProcessId(window, nullptr);
  const DWORD frontThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
  const bool attached = AttachThreadInput(ownThread, frontThread, TRUE);
  BringToFront(window);
  if (attached) AttachThreadInput(ownThread, frontThread, FALSE);
}

// Lifts the foreground lock for a moment; the user's setting is put back afterwards.
void BringToFrontUnlocked(HWND window) {
  DWORD timeout = 0;
  if (!SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &timeout, 0)) {
    BringToFront(window);
    return;
  }
  SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, SPIF_SENDCHANGE);
  BringToFront(window);
  SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                        reinterpret_cast<void*>(static_cast<UINT_PTR>(timeout)),
                        SPIF_SENDCHANGE);
}

}  // namespace

void RestartWindows() {
  if (IsWindowsNT()) EnableShutdownPrivilege();
  // EWX_FORCE would throw away unsaved work of programs that would still have answered. The
  // reason tells the event log a planned reconfiguration by an application, not a crash;
  // Windows 2000 ignores it.
  ExitWindowsEx(EWX_REBOOT | EWX_FORCEIFHUNG,
                SHTDN_REASON_MAJOR_APPLICATION | SHTDN_REASON_MINOR_RECONFIG |
                    SHTDN_REASON_FLAG_PLANNED);
}

std::string GetWindowsDir() {
  return FolderWithSlash(GetWindowsDirectoryW, "c:\\winnt\\", "c:\\windows\\");
}

std::string GetSystemDir() {
  return FolderWithSlash(GetSystemDirectoryW, "c:\\winnt\\system32\\", "c:\\windows\\system32\\");
}

std::string GetEnvVar(const std::string& name) {
  constexpr DWORD Size = 255;
  wchar_t buffer[Size];
  const DWORD n = GetEnvironmentVariableW(Widen(name).c_str(), buffer, Size);
  // A value that does not fit makes Windows report the size it would need.
  if (n == 0 || n >= Size) return {};
  return Narrow(std::wstring_view(buffer, n));
}

bool IsWindowsNT() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof(info);
  return GetVersionExA(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

bool ForceForeground(HWND window) {
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  if (IsForeground(window)) return true;
  if (!HasForegroundLock()) {
    BringToFront(window);
    return IsForeground(window);
  }
  BringToFrontAttached(window);
  if (!IsForeground(window)) BringToFrontUnlocked(window);
  return IsForeground(window);
}
