#pragma once
// Shared by the helper programs that answer through a file: the one path they are given
// on the command line, and writing the answer there.
#include <windows.h>

#include <string>

#include "sysutil/handles.h"

// The command line without the quotes around it; empty when nothing was given.
inline std::wstring ReportPath(const wchar_t* commandLine) {
  std::wstring path = commandLine ? commandLine : L"";
  if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"')
    path = path.substr(1, path.size() - 2);
  return path;
}

// True when the whole text reached the file.
inline bool WriteReport(const std::wstring& path, const std::string& text) {
  const HANDLE raw =
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (raw == INVALID_HANDLE_VALUE) return false;
  const THandle file(raw);
  DWORD written = 0;
  return WriteFile(raw, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
         written == text.size();
}
