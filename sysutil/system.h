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

// Restores a minimised window and makes it the foreground window, also against the
// foreground lock. True when it is the foreground window afterwards.
bool ForceForeground(HWND window);
