#pragma once
// The trace of a repair run: lines in memory, each behind its local time.
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class TDiagnosticLog {
 public:
  TDiagnosticLog() = default;
  TDiagnosticLog(const TDiagnosticLog&) = delete;
  TDiagnosticLog& operator=(const TDiagnosticLog&) = delete;

  // Appends `text` behind the local time.
  void Log(std::string_view text);
  // Told of every line as it is appended, time included.
  std::function<void(const std::string& line)> OnLine;
  void Clear();
  const std::vector<std::string>& Lines() const { return FLines; }

  // "hh:nn:ss:zzz", two blanks, the text.
  static std::string FormatLine(const SYSTEMTIME& time, std::string_view text);

 private:
  std::vector<std::string> FLines;
};
