#pragma once
// What the service control manager knows of the smart-card service.
#include <windows.h>

#include <optional>

// The service key exists and the service manager knows the service. A key left behind by
// an uninstall, which the manager no longer knows, does not count.
bool ServiceExists();
// The service manager reports the service as running.
bool ServiceRunning();
// The start type the service manager runs a service with (the smart-card service unless
// another is named), which a change in the registry reaches only at the next start of
// Windows; empty when the manager does not know the service or does not answer.
std::optional<DWORD> ServiceStartType(const char* service = "SCardSvr");
// Has the service manager start `service` on demand, at once and in its registry key.
bool SetDemandStart(const char* service);
