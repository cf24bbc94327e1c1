#include "sysutil/fileregistry.h"

#include <shlobj.h>

#include "sysutil/handles.h"
#include "sysutil/systemlibrary.h"
#include "sysutil/textconv.h"

namespace {

// The shell's library is loaded when a settings file is looked for, not with the program.
std::string AppDataFolder(HKEY root) {
  using TGetFolderPath = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);
  static const TModule shell = LoadSystemLibrary("shell32.dll");
  const auto getFolderPath = ModuleFunction<TGetFolderPath>(shell.Get(), "SHGetFolderPathW");
  const int folder = root == HKEY_CURRENT_USER ? CSIDL_APPDATA : CSIDL_COMMON_APPDATA;
  wchar_t path[MAX_PATH] = L"";
  if (!getFolderPath || FAILED(getFolderPath(nullptr, folder, nullptr, 0, path))) return {};
  std::string result = Narrow(path);
  if (result.empty() || result.back() != '\\') result += '\\';
  return result;
}

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Creates the folder and every missing parent; true when it exists afterwards.
bool ForceFolders(const std::string& path) {
  for (size_t end = path.find('\\'); end != std::string::npos; end = path.find('\\', end + 1))
    if (end > 0) CreateDirectoryW(Widen(path.substr(0, end)).c_str(), nullptr);
  CreateDirectoryW(Widen(path).c_str(), nullptr);
  return IsFolder(path);
}

}  // namespace

TFileRegistry::TFileRegistry() { SetRootKey(HKEY_CURRENT_USER); }

TFileRegistry::~TFileRegistry() { CloseKey(); }

void TFileRegistry::SetRootKey(HKEY root) {
  if (root == FRootKey) return;
  FRootKey = root;
  FBaseFolder = AppDataFolder(root);
  CloseKey();
}

void TFileRegistry::CloseKey() { FCurrentKeyFolder.clear(); }

std::string TFileRegistry::FullPath(const std::string& key) const {
  if (key.empty()) return FBaseFolder;
  if (key.front() == '\\') return FBaseFolder + key.substr(1);
  return (FCurrentKeyFolder.empty() ? FBaseFolder : FCurrentKeyFolder) + key;
}

bool TFileRegistry::OpenKey(const std::string& key, bool canCreate) {
  if (key.empty()) return false;
  const std::string path = FullPath(key);
  if (!IsFolder(path) && !(canCreate && ForceFolders(path))) return false;
  FCurrentKeyFolder = path;
  if (!FCurrentKeyFolder.empty() && FCurrentKeyFolder.back() != '\\') FCurrentKeyFolder += '\\';
  return true;
}

bool TFileRegistry::OpenKeyReadOnly(const std::string& key) { return OpenKey(key, false); }

bool TFileRegistry::ValueExists(const std::string& name) const {
  const DWORD attributes = GetFileAttributesW(Widen(FCurrentKeyFolder + name).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::int32_t TFileRegistry::ReadInteger(const std::string& name) const {
  // Others may read along but not write while the bytes are read.
  const HANDLE raw = CreateFileW(Widen(FCurrentKeyFolder + name).c_str(), GENERIC_READ,
                                 FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (raw == INVALID_HANDLE_VALUE) return 0;
  const THandle file(raw);
  unsigned char bytes[4] = {};
  DWORD read = 0;
  ReadFile(file.Get(), bytes, sizeof bytes, &read, nullptr);
  std::uint32_t value = 0;
  for (DWORD i = 0; i < read && i < sizeof bytes; ++i) value |= std::uint32_t{bytes[i]} << (8 * i);
  return static_cast<std::int32_t>(value);
}
