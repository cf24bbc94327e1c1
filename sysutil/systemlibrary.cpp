#include "sysutil/systemlibrary.h"

#include "sysutil/textconv.h"

TModule LoadSystemLibrary(const std::string& fileName) {
  wchar_t folder[MAX_PATH];
  const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return TModule();
  std::wstring path(folder, n);
  if (path.back() != L'\\') path += L'\\';
  path += Widen(fileName);
  // The altered search path makes the library's own dependencies come from the System
  // folder too, not from the program's folder.
  return TModule(LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
}
