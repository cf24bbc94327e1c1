#pragma once
// What the service control manager knows of the smart-card service.

// The service key exists and the service manager knows the service. A key left behind by
// an uninstall, which the manager no longer knows, does not count.
bool ServiceExists();
// The service manager reports the service as running.
bool ServiceRunning();
