#pragma once
// The one way the program opens and creates registry keys.
//
// The shipped program is 32-bit. Under WOW64, HKLM\Software is redirected to a copy under
// Wow6432Node that the 64-bit smart-card service never reads, so on 64-bit Windows every key
// is opened in the 64-bit view. Windows 2000 does not know the view flag; it is never 64-bit.
#include <windows.h>

#include <string>
#include <vector>

#include "sysutil/handles.h"

// `access` plus the view flag when it is needed.
REGSAM RegistryAccess(REGSAM access);

// `path` is relative to `parent` (a root or an open key); trailing backslashes are ignored.
// An empty key on failure, with the Windows error code in `error` when it is given.
TRegKey OpenRegKey(HKEY parent, const std::string& path, REGSAM access, LONG* error = nullptr);
// Opens the key, creating it and its missing ancestors first.
TRegKey CreateRegKey(HKEY parent, const std::string& path, REGSAM access, LONG* error = nullptr);

// Deletes the key with everything below it, in the same view. ERROR_SUCCESS when it is gone,
// else the first error that kept a key from going.
LONG DeleteRegKeyTree(HKEY parent, const std::string& path);

bool RegSubKeyExists(HKEY key, const std::string& name);

// The names of the key's direct sub-keys, in the registry's order.
std::vector<std::string> RegSubKeyNames(HKEY key);
