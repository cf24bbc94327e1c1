#pragma once
// What the service control manager knows of the smart-card service.
#include <windows.h>

#include <optional>

// The service key exists and the service manager knows the service. A key left behind by
// an uninstall, which the manager no longer knows, does not count.
bool ServiceExists();
// The service manager reports the service as running.
bool ServiceRunning();
// The start type the service manager runs the service with, which a change in the registry
// reaches only at the next start of Windows; empty when the manager does not answer.
std::optional<DWORD> ServiceStartType();
