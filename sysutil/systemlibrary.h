#pragma once
// Libraries loaded by name. The program runs elevated, so a DLL of the same name in its own
// folder or in the current folder must never be picked up: only the System folder counts.
#include <string>

#include "sysutil/handles.h"

// Loads `fileName` (such as "advapi32.dll") from the System folder; empty when it is not
// there or does not load.
TModule LoadSystemLibrary(const std::string& fileName);
