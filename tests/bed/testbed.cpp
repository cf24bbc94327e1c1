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
