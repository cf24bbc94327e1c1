#pragma once
// Sets or clears an environment variable of this process (and so of the programs it
// starts) for one scope.
#include <optional>
#include <string>

class TScopedEnv {
 public:
  // A null `value` removes the variable.
  TScopedEnv(const std::wstring& name, const wchar_t* value);
  TScopedEnv(const TScopedEnv&) = delete;
  TScopedEnv& operator=(const TScopedEnv&) = delete;
  ~TScopedEnv();

 private:
  std::wstring FName;
  std::optional<std::wstring> FPrevious;
};
