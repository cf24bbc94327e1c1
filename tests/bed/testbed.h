#pragma once
#include <string>

// The build folder as a Windows path with a trailing backslash (the test executables
// live in its "tests" folder).
std::wstring BuildDir();

// The tests run as 32-bit programs under WOW64, as the shipped program does on 64-bit
// Windows; in the 64-bit flavor (machines that run no 32-bit Linux program, and so no
// 32-bit Windows program under Wine) they are 64-bit programs.
constexpr bool In32BitFlavor = sizeof(void*) == 4;

// The 64-bit System folder of the test prefix as this program reaches it: through
// "sysnative" from a 32-bit program, directly from a 64-bit one. Ends in a backslash.
std::wstring NativeSystemFolder();
