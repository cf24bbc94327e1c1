#pragma once
// A program run from start to end under watch: started suspended so that nothing it does
// escapes, every window its process creates or shows is counted (an out-of-context WinEvent
// hook for the process, and its top-level windows polled besides), and its standard output
// goes to a file that is read when it ends.
#include <windows.h>

#include <functional>
#include <string>

struct TWatchedRun {
  bool Started = false;
  DWORD ExitCode = STILL_ACTIVE;  // STILL_ACTIVE when it had to be ended after the time-out
  int WindowEvents = 0;  // windows created or shown, as the hook told them
  int WindowsSeen = 0;   // distinct top-level windows the polls found
  std::string Output;    // the bytes it wrote to its standard output
};

// `redirectOutput` false leaves the program without standard handles of its own; `meanwhile`
// is called with its process id about every 10 ms while it runs.
TWatchedRun RunWatched(const std::wstring& path, const std::wstring& arguments,
                       DWORD timeoutMs = 60000, bool redirectOutput = true,
                       const std::function<void(DWORD processId)>& meanwhile = {});
