#pragma once
// What a second start of the program does: it hands the user over to the copy that runs.
#include <windows.h>

#include <functional>

// Lets the process of the window it is given come to the front; AllowSetForegroundWindow
// unless a test watches the call.
using TAllowForeground = std::function<void(DWORD processId)>;

// Finds the running wizard's window, lets its process take the foreground and posts it
// the message that brings it to the user. Nothing happens without such a window.
void HandOverToFirstCopy(const TAllowForeground& allow);
void HandOverToFirstCopy();
