#pragma once
// A repair run's trace, shown in the text viewer on request: written to a temporary file,
// which stays while the program runs and goes with it.
#include <optional>
#include <string>
#include <vector>

class TTraceViewer {
 public:
  TTraceViewer() = default;
  TTraceViewer(const TTraceViewer&) = delete;
  TTraceViewer& operator=(const TTraceViewer&) = delete;
  // Deletes the files it wrote.
  ~TTraceViewer();

  // Writes `lines` to a free "RMDIAG*.txt" in the temporary folder (ANSI code page, CR LF)
  // and opens it in the program registered for ".txt". The file is deleted when this viewer
  // ends, with the program: a viewer may hand the file on to another program that opens it
  // only later. Does nothing without lines. Throws std::system_error when the file cannot be
  // written.
  void Show(const std::vector<std::string>& lines);

  // "RMDIAG.txt" without a counter, else the counter in upper-case hexadecimal with at
  // least two digits: "RMDIAG0A.txt".
  static std::string FileName(std::optional<unsigned> counter);

 private:
  std::vector<std::wstring> FShownFiles;
};
