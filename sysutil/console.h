#pragma once
// Where a windowless run writes for the person or script that started it: the standard
// output when it is a console, a file, a pipe or a device, else the console of the parent
// process (cmd, PowerShell), else nowhere.
#include <windows.h>

#include <string_view>

#include "sysutil/handles.h"

class TConsoleOutput {
 public:
  TConsoleOutput();
  TConsoleOutput(const TConsoleOutput&) = delete;
  TConsoleOutput& operator=(const TConsoleOutput&) = delete;

  bool Available() const { return FOut != nullptr; }
  // One line of UTF-8 text, closed by CR LF; does nothing without an output.
  void WriteLine(std::string_view text) const;

 private:
  static bool AttachParentConsole();

  HANDLE FOut = nullptr;
  bool FConsole = false;  // a console takes UTF-16; a file or pipe gets the console's code page
  THandle FConsoleOut;
};
