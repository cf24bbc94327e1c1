#pragma once
// Values of an open registry key. Every call answers the Windows error code (ERROR_SUCCESS
// when it went through); strings are UTF-8 here and UTF-16 in the registry.
#include <windows.h>

#include <string>
#include <vector>

bool RegValueExists(HKEY key, const std::string& name);

// ERROR_INVALID_DATATYPE when the value is not a REG_DWORD of four bytes.
LONG ReadRegDword(HKEY key, const std::string& name, DWORD& value);
// A missing value reads as the empty string; ERROR_INVALID_DATATYPE for anything but
// REG_SZ and REG_EXPAND_SZ (the latter not expanded).
LONG ReadRegString(HKEY key, const std::string& name, std::string& value);

LONG WriteRegDword(HKEY key, const std::string& name, DWORD value);
LONG WriteRegString(HKEY key, const std::string& name, const std::string& value);
LONG WriteRegExpandString(HKEY key, const std::string& name, const std::string& value);
// REG_MULTI_SZ: each string closed by a NUL, the list by one more.
LONG WriteRegMultiString(HKEY key, const std::string& name, const std::vector<std::string>& value);
LONG DeleteRegValue(HKEY key, const std::string& name);
