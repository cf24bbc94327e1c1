#pragma once
// Files the tests plant, and files the helper programs leave behind.
#include <windows.h>

#include <optional>
#include <string>

bool FileExists(const std::wstring& path);
// The file's bytes; nullopt when it cannot be read.
std::optional<std::string> ReadFileBytes(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
// Polls until the file exists; false when it has not come within `timeoutMs`.
bool WaitForFile(const std::wstring& path, DWORD timeoutMs);

// Path of the helper program build\tests\<name>.exe.
std::wstring HelperProgram(const std::wstring& name);
// Copies a helper program to `target`, for tests that need it at a given place.
void CopyHelperProgram(const std::wstring& name, const std::wstring& target);
