// Writes the component library's language index, as this program read it when it started,
// and its "Yes" text to the file named on the command line: "<index> <text>".
#include <windows.h>

#include <string>

#include "sysutil/sharedtexts.h"
#include "tests/helpers/reportfile.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  const std::wstring path = ReportPath(commandLine);
  if (path.empty()) return 2;
  const std::string out = std::to_string(LanguageIndex()) + " " + SharedText(1);
  return WriteReport(path, out) ? 0 : 4;
}
