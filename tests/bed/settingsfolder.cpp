#include "tests/bed/settingsfolder.h"

#include <windows.h>

#include <stdexcept>

#include "tests/bed/files.h"
#include "tests/bed/scratch.h"

namespace {

std::wstring FolderVariable(const wchar_t* name) {
  wchar_t value[MAX_PATH] = L"";
  const DWORD n = GetEnvironmentVariableW(name, value, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) throw std::runtime_error("settings folder: variable not set");
  std::wstring folder = value;
  if (folder.back() != L'\\') folder += L'\\';
  return folder;
}

}  // namespace

std::wstring UserAppData() { return FolderVariable(L"APPDATA"); }
std::wstring CommonAppData() { return FolderVariable(L"ProgramData"); }

TSettingsFolder::TSettingsFolder(const std::wstring& base, const std::wstring& key)
    : FPath(base + key + L"\\") {
  for (size_t end = key.find(L'\\');; end = key.find(L'\\', end + 1)) {
    const std::wstring part = base + key.substr(0, end);
    if (!FileExists(part)) {
      FFirstMissing = part;
      break;
    }
    if (end == std::wstring::npos) break;
  }
}

TSettingsFolder::~TSettingsFolder() {
  for (const auto& file : FFiles) DeleteFileW(file.c_str());
  if (!FFirstMissing.empty()) RemoveTree(FFirstMissing);
}

void TSettingsFolder::Create() const {
  for (size_t end = FPath.find(L'\\'); end != std::wstring::npos; end = FPath.find(L'\\', end + 1))
    CreateDirectoryW(FPath.substr(0, end).c_str(), nullptr);
  const DWORD attributes = GetFileAttributesW(FPath.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
    throw std::runtime_error("settings folder: cannot create it");
}

void TSettingsFolder::WriteValue(const std::wstring& name, const std::string& bytes) const {
  Create();
  WriteFileBytes(FPath + name, bytes);
  if (FFirstMissing.empty()) FFiles.push_back(FPath + name);
}
