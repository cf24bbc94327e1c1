#pragma once
// Waiting without freezing the window: every wait here dispatches the thread's window
// messages as they arrive, so timers, painting and clicks run inside it (callers must
// expect that re-entry).
#include <cstdint>
#include <string>

// Translates and dispatches every queued message, then returns.
void PumpMessages();

// Waits `ms` milliseconds; Delay(0) returns at once.
void Delay(std::uint32_t ms);

// Starts "program" parameters (the program path quoted) and, with `wait`, waits for it to
// end, however long it takes. True when the process was created. On 64-bit Windows a
// program of the System folder is the native one, not its 32-bit namesake.
bool RunProgram(const std::string& program, const std::string& parameters, bool wait);

// As RunProgram, but waits at most `timeoutMs` (0: not at all); a program that runs
// longer is left running. Without `show` its window starts hidden.
bool RunProgramTimed(const std::string& program, const std::string& parameters,
                     std::uint32_t timeoutMs, bool show);
