#pragma once
// The bitness of this process against that of the Windows it runs on.
#include <windows.h>

// True when this program runs as a 32-bit process on 64-bit Windows.
bool IsWow64();

// True on 64-bit Windows, asked of the process itself: it is a 64-bit process, or a 32-bit
// one under WOW64 (the shipped exe). Needs no version record, unlike Is64BitWindows.
bool Is64BitProcessOrWow64();
