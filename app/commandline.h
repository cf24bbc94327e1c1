#pragma once
// The program's command line. Without arguments it is the wizard; the switches run a check
// or a repair without any window, for scripts and deployment tools.
#include <string>
#include <vector>

enum class TRunMode { Wizard, Check, Repair, Usage, Wrong };

struct TCommandLine {
  TRunMode Mode = TRunMode::Wizard;
  std::wstring LogFile;  // empty: no log file
};

// The arguments of a whole command line as Windows passes it, without the program's name:
// blanks and tabs separate, double quotes group and are dropped, backslashes are ordinary
// characters (a folder may end in one).
std::vector<std::wstring> SplitCommandLine(const std::wstring& commandLine);

// "/check" or "/repair", optionally "/log FILE", in any order; "/?" asks for the usage.
// Switches are case-insensitive and may start with "-" as well. Anything else, a switch
// twice, both modes, a log without a mode or without a file name is Wrong.
TCommandLine ParseCommandLine(const std::vector<std::wstring>& arguments);

// The short usage text, its lines separated by "|".
std::string UsageText();
