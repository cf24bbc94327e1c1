#pragma once
// The trace of a repair run: kept in memory, written to a temporary file and shown in the
// text viewer only on request.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TDiagnosticLog {
 public:
  // Appends `text` behind the local time.
  void Log(std::string_view text);
  void Clear();
  const std::vector<std::string>& Lines() const { return FLines; }

  // Writes the lines to a free "RMDIAG*.txt" in the temporary folder (ANSI code page,
  // CR LF), opens it in the program registered for ".txt" and deletes it again as soon as
  // that program waits for input. Does nothing without lines. Throws std::system_error
  // when the file cannot be written.
  void ShowLog() const;

  // "hh:nn:ss:zzz", two blanks, the text.
  static std::string FormatLine(const SYSTEMTIME& time, std::string_view text);
  // "RMDIAG.txt" without a counter, else the counter in upper-case hexadecimal with at
  // least two digits: "RMDIAG0A.txt".
  static std::string FileName(std::optional<unsigned> counter);

 private:
  std::vector<std::string> FLines;
};
