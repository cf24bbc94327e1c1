#pragma once
#include <string>

// The build folder as a Windows path with a trailing backslash (the test executables
// live in its "tests" folder).
std::wstring BuildDir();
