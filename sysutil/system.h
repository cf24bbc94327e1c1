#pragma once
// The running Windows: its folders, environment, platform, restart and foreground window.
#include <windows.h>

#include <string>

// Restarts Windows at once; programs that do not answer are closed. Without the shutdown
// privilege nothing happens.
void RestartWindows();

// The Windows and System folders, always ending in "\" (a fixed guess when Windows does
// not answer).
std::string GetWindowsDir();
std::string GetSystemDir();

// The variable's value; empty when it is not set or longer than 254 characters.
std::string GetEnvVar(const std::string& name);

// True on the NT line (2000, XP and later), false on Windows 95, 98 and Me.
bool IsWindowsNT();

// True when this program runs as a 32-bit process on 64-bit Windows.
bool IsWow64();

// True on 64-bit Windows, asked of the process itself: it is a 64-bit process, or a 32-bit
// one under WOW64 (the shipped exe). Needs no version record, unlike Is64BitWindows.
bool Is64BitProcessOrWow64();

// Restores a minimised window and makes it the foreground window, also against the
// foreground lock. True when it is the foreground window afterwards.
bool ForceForeground(HWND window);
