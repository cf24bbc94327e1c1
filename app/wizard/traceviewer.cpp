#include "app/wizard/traceviewer.h"

#include <cstdio>
#include <system_error>

#include "sysutil/handles.h"
#include "sysutil/shellopen.h"
#include "sysutil/system.h"
#include "sysutil/textconv.h"
#include "sysutil/waitcursor.h"

namespace {

std::string CurrentDirectory() {
  const DWORD size = GetCurrentDirectoryW(0, nullptr);
  std::wstring folder(size, L'\0');
  folder.resize(GetCurrentDirectoryW(size, folder.data()));
  return Narrow(folder);
}

std::string LogFolder() {
  std::string folder = GetEnvVar("Temp");
  if (folder.empty()) folder = GetEnvVar("Tmp");
  if (folder.empty()) folder = CurrentDirectory();
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return folder;
}

bool Exists(const std::string& path) {
  return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string FreeLogPath(const std::string& folder) {
  std::string path = folder + TTraceViewer::FileName(std::nullopt);
  for (unsigned counter = 0; Exists(path); ++counter)
    path = folder + TTraceViewer::FileName(counter);
  return path;
}

[[noreturn]] void ThrowLastError(const char* what) {
  throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), what);
}

// Older viewers read the ANSI code page only.
void Save(const std::vector<std::string>& lines, const std::string& path) {
  std::string text;
  for (const auto& line : lines) text += ToAnsi(line) + "\r\n";
  // CREATE_NEW: a file that appeared since the name was chosen is not overwritten.
  const HANDLE raw = CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
  if (raw == INVALID_HANDLE_VALUE) ThrowLastError("cannot create the diagnostic log file");
  THandle file(raw);
  DWORD written = 0;
  if (WriteFile(raw, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
      written == text.size())
    return;
  const DWORD error = GetLastError();
  file.Reset();
  DeleteFileW(Widen(path).c_str());
  SetLastError(error);
  ThrowLastError("cannot write the diagnostic log file");
}

}  // namespace

TTraceViewer::~TTraceViewer() {
  // A failed delete only leaves a file behind.
  for (const std::wstring& file : FShownFiles) DeleteFileW(file.c_str());
}

void TTraceViewer::Show(const std::vector<std::string>& lines) {
  if (lines.empty()) return;
  const TWaitCursor hourglass;
  const std::string path = FreeLogPath(LogFolder());
  // Only a file this program created is deleted at its end.
  Save(lines, path);
  FShownFiles.push_back(Widen(path));
  OpenDocument(path);
}

std::string TTraceViewer::FileName(std::optional<unsigned> counter) {
  if (!counter) return "RMDIAG.txt";
  char name[32];
  std::snprintf(name, sizeof(name), "RMDIAG%02X.txt", *counter);
  return name;
}
