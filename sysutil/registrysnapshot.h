#pragma once
// A picture of a registry key as bytes, to tell whether anything in it changed: its owner,
// group and DACL, its values with their types and data, and the same of every sub-key, in
// the registry's order. Keys open in the view RegistryAccess chooses.
#include <windows.h>

#include <string>

// A key that cannot be opened or read leaves its error code in the picture, so a key that
// becomes readable, appears or goes changes the picture too.
std::string RegistrySnapshot(HKEY root, const std::string& path);
