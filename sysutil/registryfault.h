#pragma once
// For tests: makes chosen registry calls fail as if Windows had refused them, so the
// repairs' stop-at-the-first-failure rules can be shown on a real registry.
#include <windows.h>

#include <functional>
#include <string_view>

enum class TRegistryCall { Open, Create, Write, DeleteValue };

// Answers the error a call shall fail with, or ERROR_SUCCESS to let it through. `name` is
// the key path for Open and Create, the value name for Write and DeleteValue.
using TRegistryFault = std::function<LONG(TRegistryCall call, std::string_view name)>;

// While it lives, every registry call of the program asks `fault` first. Scopes nest; the
// newest one is asked.
class TRegistryFaultScope {
 public:
  explicit TRegistryFaultScope(TRegistryFault fault);
  TRegistryFaultScope(const TRegistryFaultScope&) = delete;
  TRegistryFaultScope& operator=(const TRegistryFaultScope&) = delete;
  ~TRegistryFaultScope();

 private:
  TRegistryFault FFault;
  const TRegistryFault* FOuter;
};

// ERROR_SUCCESS unless a scope makes this call fail.
LONG InjectedRegistryFault(TRegistryCall call, std::string_view name);
