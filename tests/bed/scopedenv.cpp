#include "tests/bed/scopedenv.h"

#include <windows.h>

TScopedEnv::TScopedEnv(const std::wstring& name, const wchar_t* value) : FName(name) {
  const DWORD size = GetEnvironmentVariableW(name.c_str(), nullptr, 0);
  if (size > 0) {
    std::wstring previous(size, L'\0');
    previous.resize(GetEnvironmentVariableW(name.c_str(), previous.data(), size));
    FPrevious = previous;
  }
  SetEnvironmentVariableW(name.c_str(), value);
}

TScopedEnv::~TScopedEnv() {
  SetEnvironmentVariableW(FName.c_str(), FPrevious ? FPrevious->c_str() : nullptr);
}
