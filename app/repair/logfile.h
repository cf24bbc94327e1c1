#pragma once
// The trace of a run without a window, written line by line to the file the command line
// names, in the diagnostic log's format (ANSI code page, CR LF), so that even a run that is
// cut short leaves what it did.
#include <windows.h>

#include <string>
#include <string_view>

#include "sysutil/handles.h"

class TLogFile {
 public:
  // Creates or replaces the file; 0 when it is open, else the Windows error code.
  DWORD Open(const std::wstring& path);
  // Does nothing while no file is open.
  void WriteLine(std::string_view line) const;

 private:
  THandle FFile;
};
