#include "sysutil/registryfault.h"

#include <utility>

namespace {
const TRegistryFault* Innermost = nullptr;
}  // namespace

TRegistryFaultScope::TRegistryFaultScope(TRegistryFault fault)
    : FFault(std::move(fault)), FOuter(Innermost) {
  Innermost = &FFault;
}

TRegistryFaultScope::~TRegistryFaultScope() { Innermost = FOuter; }

LONG InjectedRegistryFault(TRegistryCall call, std::string_view name) {
  if (!Innermost || !*Innermost) return ERROR_SUCCESS;
  return (*Innermost)(call, name);
}
