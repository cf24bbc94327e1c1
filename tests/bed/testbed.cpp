#include "tests/bed/testbed.h"

#include <windows.h>

std::wstring BuildDir() {
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir(path, n);
  dir.resize(dir.rfind(L'\\'));  // tests folder
  dir.resize(dir.rfind(L'\\') + 1);
  return dir;
}

std::wstring NativeSystemFolder() {
  wchar_t windows[MAX_PATH];
  const UINT n = GetWindowsDirectoryW(windows, MAX_PATH);
  return std::wstring(windows, n) + (In32BitFlavor ? L"\\sysnative\\" : L"\\system32\\");
}
