#include "tests/bed/files.h"

#include <stdexcept>

#include "sysutil/handles.h"
#include "tests/bed/testbed.h"

bool FileExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<std::string> ReadFileBytes(const std::wstring& path) {
  const HANDLE raw = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, 0, nullptr);
  if (raw == INVALID_HANDLE_VALUE) return std::nullopt;
  const THandle file(raw);
  std::string bytes(GetFileSize(raw, nullptr), '\0');
  DWORD read = 0;
  if (!ReadFile(raw, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
    return std::nullopt;
  bytes.resize(read);
  return bytes;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  const HANDLE raw =
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (raw == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create a test file");
  const THandle file(raw);
  DWORD written = 0;
  WriteFile(raw, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

bool WaitForFile(const std::wstring& path, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!FileExists(path)) {
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(20);
  }
  return true;
}

std::wstring HelperProgram(const std::wstring& name) {
  return BuildDir() + L"tests\\" + name + L".exe";
}

void CopyHelperProgram(const std::wstring& name, const std::wstring& target) {
  if (!CopyFileW(HelperProgram(name).c_str(), target.c_str(), FALSE))
    throw std::runtime_error("cannot copy a helper program");
}
