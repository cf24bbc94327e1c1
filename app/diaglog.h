#pragma once
// The trace of a repair run: kept in memory, written to a temporary file and shown in the
// text viewer only on request.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TDiagnosticLog {
 public:
  TDiagnosticLog() = default;
  TDiagnosticLog(const TDiagnosticLog&) = delete;
  TDiagnosticLog& operator=(const TDiagnosticLog&) = delete;
  // Deletes the files it showed.
  ~TDiagnosticLog();

  // Appends `text` behind the local time.
  void Log(std::string_view text);
  // Told of every line as it is appended, time included.
  std::function<void(const std::string& line)> OnLine;
  void Clear();
  const std::vector<std::string>& Lines() const { return FLines; }

  // Writes the lines to a free "RMDIAG*.txt" in the temporary folder (ANSI code page,
  // CR LF) and opens it in the program registered for ".txt". The file is deleted when
  // this log ends, with the program: a viewer may hand the file on to another program
  // that opens it only later. Does nothing without lines. Throws std::system_error when
  // the file cannot be written.
  void ShowLog();

  // "hh:nn:ss:zzz", two blanks, the text.
  static std::string FormatLine(const SYSTEMTIME& time, std::string_view text);
  // "RMDIAG.txt" without a counter, else the counter in upper-case hexadecimal with at
  // least two digits: "RMDIAG0A.txt".
  static std::string FileName(std::optional<unsigned> counter);

 private:
  std::vector<std::string> FLines;
  std::vector<std::wstring> FShownFiles;
};
