#pragma once
// Showing programs another Windows version: Wine fixes the version a process sees when it
// starts, so a test switches the version, starts a program and reads what it saw.
//
// What Wine 8 can show a 32-bit program in the 64-bit test prefix:
// - A name gives Wine's picture of the release with its last service pack (winxp is
//   5.1.2600 SP3, win2k 5.0.2195 SP4). An older service pack comes only from the registry,
//   and Wine reads that only when no Version is set: such a scope changes the whole
//   prefix, not one program, and leaves the suite mask 0.
// - Wine 8 reports win7 as a server (product type 3) and win2008r2 as a workstation; the
//   scope swaps the two names so that each shows its own release.
// - win8, win81 and win10 all report 6.2.9200 to a program whose manifest does not declare
//   8.1 or 10 (the test programs); Cardmend's declares them and sees 6.3 and 10.0.
// - win98 reports 98 SE: platform 1, 4.10.2222 " A " (build 0x040A08AE), yet fills an
//   OSVERSIONINFOEXA (with zeros) where Windows 98 rejects one.
// - Never shown: a 32-bit Windows (IsWow64Process always says TRUE), a Windows without
//   GetProductInfo or IsWow64Process (Wine always has both), Media Center, Tablet PC and
//   Server 2003 R2 (their GetSystemMetrics are always 0).
#include <windows.h>

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

class TWindowsVersionScope {
 public:
  // `version` is Wine's name of a release: win98, win2k, winxp, winxp64, win2003, vista,
  // win2008, win7, win2008r2, win8, win81, win10 ... A `servicePack` (2000 to 2008 R2
  // only) describes the release through the registry, for every program. `exeName` (a
  // file name such as L"versionprobe.exe") limits a named version to programs of that
  // name; it cannot go with a service pack.
  explicit TWindowsVersionScope(std::wstring_view version,
                                std::optional<int> servicePack = std::nullopt,
                                std::wstring_view exeName = {});
  TWindowsVersionScope(const TWindowsVersionScope&) = delete;
  TWindowsVersionScope& operator=(const TWindowsVersionScope&) = delete;
  ~TWindowsVersionScope();  // puts back every value it changed, newest first

 private:
  struct TUndo {
    HKEY Root;
    REGSAM View;
    std::wstring Key;
    std::wstring Name;  // empty for a key this scope created
    bool Existed;
    DWORD Type;
    std::vector<BYTE> Data;
  };
  HKEY OpenForChange(HKEY root, REGSAM view, const std::wstring& key);
  bool Remember(HKEY root, REGSAM view, const std::wstring& key, const wchar_t* name);
  void Set(HKEY root, REGSAM view, const std::wstring& key, const wchar_t* name, DWORD type,
           const void* data, DWORD size);
  void SetString(HKEY root, REGSAM view, const std::wstring& key, const wchar_t* name,
                 const std::wstring& value);
  void Delete(HKEY root, REGSAM view, const std::wstring& key, const wchar_t* name);

  std::vector<TUndo> FUndo;
};

// What a freshly started program learnt about the system's version.
struct TVersionReport {
  bool ExStructure = false;  // GetVersionExA accepted an OSVERSIONINFOEXA
  DWORD Major = 0;
  DWORD Minor = 0;
  DWORD Build = 0;
  DWORD Platform = 0;
  std::string CSDVersion;
  WORD ServicePackMajor = 0;
  WORD ServicePackMinor = 0;
  WORD SuiteMask = 0;
  BYTE ProductType = 0;
  DWORD GetVersionValue = 0;  // GetVersion()
  bool HasGetProductInfo = false;
  std::optional<DWORD> ProductInfo;  // empty when missing or refused
  bool HasIsWow64Process = false;
  std::optional<bool> Wow64;
  int MediaCenter = 0;
  int TabletPC = 0;
  int ServerR2 = 0;

  bool operator==(const TVersionReport&) const = default;
};
void PrintTo(const TVersionReport& report, std::ostream* out);

// The probe in the build folder; copy it under another name to see a per-program setting.
std::wstring VersionProbePath();

// Starts the probe, waits for it and reads its answers; empty (with a test failure that
// says why) when it did not answer within `timeoutMs`.
std::optional<TVersionReport> RunVersionProbe(const std::wstring& probePath = VersionProbePath(),
                                              DWORD timeoutMs = 30000);
