#include "sysutil/registryfault.h"

#include <utility>

namespace {
TRegistryFaultScope* Innermost = nullptr;
const TRegistryFault* InnermostFault = nullptr;
}  // namespace

TRegistryFaultScope::TRegistryFaultScope(TRegistryFault fault)
    : FFault(std::move(fault)), FOuter(Innermost) {
  Innermost = this;
  InnermostFault = &FFault;
}

TRegistryFaultScope::~TRegistryFaultScope() {
  Innermost = FOuter;
  InnermostFault = FOuter ? &FOuter->FFault : nullptr;
}

LONG InjectedRegistryFault(TRegistryCall call, std::string_view name) {
  if (!InnermostFault || !*InnermostFault) return ERROR_SUCCESS;
  return (*InnermostFault)(call, name);
}
