#pragma once
// Libraries loaded by name. The program runs elevated, so a DLL of the same name in its own
// folder or in the current folder must never be picked up: only the System folder counts.
#include <string>

#include "sysutil/handles.h"

// Loads `fileName` (such as "advapi32.dll") from the System folder; empty when it is not
// there or does not load. A library that is no KnownDLL (version.dll, msimg32.dll) is never
// imported but loaded this way: Windows would load an imported one from a copy planted
// beside the program first, with its rights, before any of our code runs.
TModule LoadSystemLibrary(const std::string& fileName);

// An entry of `module` by name; nullptr when the module is empty or lacks it. Through
// void(*)() so that the cast does not claim FARPROC's signature.
template <typename F>
F ModuleFunction(HMODULE module, const char* name) {
  if (!module) return nullptr;
  return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// An entry of a library the process has loaded already (kernel32, user32, advapi32), looked
// up by name where older Windows lack it; nullptr when it is missing.
template <typename F>
F LoadedFunction(const wchar_t* module, const char* name) {
  return ModuleFunction<F>(GetModuleHandleW(module), name);
}
