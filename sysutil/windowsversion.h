#pragma once
// Which Windows the program runs on. Windows is asked once, on first use (call
// InitWindowsVersion at start to fix that moment); every answer afterwards comes from that
// one record. What Windows reported is kept apart from what the program makes of it, so
// the rules can be checked for systems no test machine has.
#include <windows.h>

#include <string>

enum TWinVersion : unsigned char {
  wvUnknown,
  wvWin3x,
  wv95,
  wv95SP1,
  wv95OSR2,
  wv95OSR21,
  wv95OSR25,
  wv98,
  wv98SP1,
  wv98SE,
  wvMe,
  wvNT351,
  wvNT4,
  wv2000,
  wvXP,
  wv2003,
  wvXPx64,  // only the technical name knows it
  // The NT 6 family and its successors; the rules for Vista hold for every one of them.
  wvVista,  // 6.0, also Server 2008
  wv7,      // 6.1, also Server 2008 R2
  wv8,      // 6.2, also Server 2012; what 8.1 to 11 report to a program that does not declare them
  wv81,     // 6.3, also Server 2012 R2
  wv10,     // 10.0 before build 22000, also Server 2016 to 2025
  wv11,     // 10.0 from build 22000 on, and any later version
};

// What Windows answered, unread. A value Windows was not asked for stays 0.
struct TRawWindowsVersion {
  bool Answered = false;  // GetVersionExA accepted the basic structure
  DWORD Major = 0;
  DWORD Minor = 0;
  DWORD Build = 0;  // as reported: 95, 98 and Me keep major and minor in the high word
  DWORD PlatformId = 0;
  std::string CSDVersion;
  // From the extended query, made from Windows 2000 on.
  WORD ServicePackMajor = 0;
  WORD ServicePackMinor = 0;
  WORD SuiteMask = 0;
  BYTE ProductType = 0;   // 1 workstation, 2 domain controller, 3 server
  DWORD ProductInfo = 0;  // GetProductInfo, asked from Windows 6 on
  bool Wow64 = false;  // runs on 64-bit Windows: under WOW64, or as a 64-bit process
  bool MediaCenter = false;  // GetSystemMetrics(SM_MEDIACENTER) != 0
  bool TabletPC = false;     // GetSystemMetrics(SM_TABLETPC) != 0
};

struct TWindowsVersionInfo {
  TWinVersion Version = wvUnknown;
  DWORD Major = 0;
  DWORD Minor = 0;
  DWORD Build = 0;  // low 16 bits
  DWORD ServicePackMajor = 0;
  DWORD ServicePackMinor = 0;
  std::string ServicePack;  // "Service Pack ..." on the NT line, else empty
  WORD SuiteMask = 0;
  DWORD ProductInfo = 0;
  bool IsServer = false;
  bool IsHome = false;
  bool IsMediaCenter = false;
  bool IsTabletPC = false;
  bool Is64Bit = false;
  bool Is2000 = false;
  bool IsXP = false;
  bool Is2003 = false;
  bool IsVista = false;  // Vista or any later Windows

  bool Is2000OrLater = false;
  bool IsXPOrLater = false;

  bool operator==(const TWindowsVersionInfo&) const = default;
};

// Asks Windows. `extended` adds the service-pack numbers, suite mask and product type
// (from Windows 2000 on) and GetProductInfo (from Windows 6 on).
TRawWindowsVersion ProbeWindowsVersion(bool extended = true);

// The rules, free of Windows calls.
TWindowsVersionInfo ClassifyWindowsVersion(const TRawWindowsVersion& raw);
// Full name with edition, e.g. "Microsoft Windows XP, Professional Edition, Service Pack 3".
std::string WindowsVersionName(const TWindowsVersionInfo& info);
// Technical name from the basic answer only, e.g.
// "Microsoft Windows XP, V5.01, Build 2600, Service Pack 3". It has its own reading of 5.2:
// "XP x64" under WOW64, "Server 2003" otherwise, whatever the product type.
std::string WindowsVersionString(const TRawWindowsVersion& raw);

// Fills the record if that has not happened yet.
void InitWindowsVersion();
const TWindowsVersionInfo& WindowsVersion();

bool IsWin2000();
bool IsWinXP();
bool IsWin2003();
// Vista or any later Windows: 7 to 11 and the servers from 2008 on follow the Vista rules.
bool IsWinVista();
// The test by which the wizard accepts the system.
bool IsWin2000OrLater();
bool IsWinXPOrLater();
bool Is64BitWindows();
DWORD ServicePackMajor();
std::string WindowsVersionName();
// Asks Windows again on every call (unless a TWindowsVersionOverride is in force).
std::string WindowsVersionString();

// For tests: while it lives, the record is classified from `raw` as if Windows had
// answered that, and WindowsVersionString reads `raw` instead of asking Windows. The record
// before it comes back at its end; overrides nest.
class TWindowsVersionOverride {
 public:
  explicit TWindowsVersionOverride(const TRawWindowsVersion& raw);
  TWindowsVersionOverride(const TWindowsVersionOverride&) = delete;
  TWindowsVersionOverride& operator=(const TWindowsVersionOverride&) = delete;
  ~TWindowsVersionOverride();

 private:
  TRawWindowsVersion FSavedRaw;
  bool FSavedOverridden;
};
