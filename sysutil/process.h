#pragma once
// Starting programs from a command line (UTF-8); the wait and shell helpers build on these.
#include <windows.h>

#include <optional>
#include <string>

#include "sysutil/handles.h"

// Starts `commandLine` in a process group of its own and returns the process handle, empty
// when the process could not be created (GetLastError tells why). `show` is the state of
// the program's first window; without it the program decides.
THandle StartProcess(const std::string& commandLine, std::optional<WORD> show);

// Starts the way WinExec does: the first window shown as `show`, and back only once the
// program waits for input. Above 31 means started; otherwise the cause as a small code
// (2 file not found, 3 path not found, 11 anything else Windows reports above 31).
unsigned ExecCommandLine(const std::string& commandLine, WORD show);
