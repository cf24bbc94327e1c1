// Writes the program's own version record, IsWin2000OrLater and both version names to the
// file named on the command line, one "name=value" line each. A program of its own because
// Wine fixes the version a process sees when it starts.
#include <windows.h>

#include <string>

#include "sysutil/handles.h"
#include "sysutil/windowsversion.h"
#include "tests/helpers/reportfile.h"

namespace {

void Line(std::string& out, const char* name, const std::string& value) {
  out += name;
  out += '=';
  out += value;
  out += '\n';
}

void Line(std::string& out, const char* name, unsigned long value) {
  Line(out, name, std::to_string(value));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  const std::wstring path = ReportPath(commandLine);
  if (path.empty()) return 2;

  InitWindowsVersion();
  const TWindowsVersionInfo& v = WindowsVersion();
  std::string out;
  Line(out, "version", v.Version);
  Line(out, "major", v.Major);
  Line(out, "minor", v.Minor);
  Line(out, "build", v.Build);
  Line(out, "spmajor", v.ServicePackMajor);
  Line(out, "spminor", v.ServicePackMinor);
  Line(out, "servicepack", v.ServicePack);
  Line(out, "suite", v.SuiteMask);
  Line(out, "productinfo", v.ProductInfo);
  Line(out, "server", v.IsServer);
  Line(out, "home", v.IsHome);
  Line(out, "mediacenter", v.IsMediaCenter);
  Line(out, "tabletpc", v.IsTabletPC);
  Line(out, "64bit", v.Is64Bit);
  Line(out, "is2000", v.Is2000);
  Line(out, "isxp", v.IsXP);
  Line(out, "is2003", v.Is2003);
  Line(out, "isvista", v.IsVista);
  Line(out, "is2000orlater", v.Is2000OrLater);
  Line(out, "isxporlater", v.IsXPOrLater);
  Line(out, "accepted", IsWin2000OrLater());
  Line(out, "name", WindowsVersionName());
  Line(out, "string", WindowsVersionString());

  return WriteReport(path, out) ? 0 : 4;
}
