#include "tests/bed/scratch.h"

#include <windows.h>

#include <stdexcept>

TScratchFolder::TScratchFolder(const std::wstring& name) {
  static unsigned counter = 0;
  wchar_t temp[MAX_PATH];
  const DWORD n = GetTempPathW(MAX_PATH, temp);
  FPath = std::wstring(temp, n) + L"cardmend-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(++counter) + L"-" + name + L"\\";
  RemoveTree(FPath);
  if (!CreateDirectoryW(FPath.c_str(), nullptr))
    throw std::runtime_error("scratch folder: cannot create it");
}

TScratchFolder::~TScratchFolder() { RemoveTree(FPath); }

void RemoveTree(const std::wstring& folder) {
  std::wstring base = folder;
  if (base.back() != L'\\') base += L'\\';
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW((base + L"*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(base + name);
      else
        DeleteFileW((base + name).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(base.c_str());
}
