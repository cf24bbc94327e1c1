#include "sysutil/windowsversion.h"

#include <cstring>
#include <iterator>

#include "sysutil/bitness.h"
#include "sysutil/handles.h"
#include "sysutil/systemlibrary.h"

namespace {

constexpr WORD SuiteEnterprise = 0x0002;
constexpr WORD SuiteEmbeddedNT = 0x0040;
constexpr WORD SuiteDatacenter = 0x0080;
constexpr WORD SuitePersonal = 0x0200;
constexpr WORD SuiteBlade = 0x0400;
constexpr WORD SuiteComputeServer = 0x4000;

constexpr BYTE WorkstationType = 1;  // VER_NT_WORKSTATION
constexpr BYTE ServerType = 3;       // VER_NT_SERVER

const char* const ShortNames[] = {
    "",           "3.xx", "95",     "95 SP1",      "95 OSR 2", "95 OSR 2.1",
    "95 OSR 2.5", "98",   "98 SP1", "98 SE",       "Me",       "NT 3.51",
    "NT 4.0",     "2000", "XP",     "Server 2003", "XP x64",   "Vista",
    "7",          "8",    "8.1",    "10",          "11",
};

// Indexed by what GetProductInfo returns; the N editions share their base edition's text.
const char* const VistaEditions[] = {
    "",
    ", Ultimate Edition",
    ", Home Basic Edition",
    ", Home Premium Edition",
    ", Enterprise Edition",
    ", Home Basic Edition",
    ", Business Edition",
    ", Server Standard Edition (full installation)",
    ", Server Datacenter Edition (full installation)",
    ", Small Business Server",
    ", Server Enterprise Edition (full installation)",
    ", Starter Edition",
    ", Server Datacenter Edition (core installation)",
    ", Server Standard Edition (core installation)",
    ", Server Enterprise Edition (core installation)",
    ", Server Enterprise Edition for Itanium-based Systems",
    ", Business Edition",
    ", Web Server Edition",
    ", Cluster Server Edition",
    ", Home Server Edition",
    ", Storage Server Express Edition",
    ", Storage Server Standard Edition",
    ", Storage Server Workgroup Edition",
    ", Storage Server Enterprise Edition",
    ", Server for Small Business Edition",
    ", Small Business Server Premium Edition",
    ", Home Premium Edition",
    ", Enterprise Edition",
    ", Ultimate Edition",
};

TWinVersion Classify9x(DWORD major, DWORD minor, DWORD build, const std::string& csd) {
  if (major != 4) return wvUnknown;
  if (minor >= 90) return wvMe;
  switch (minor) {
    case 10:
      if (build == 2222) return wv98SE;
      return build >= 1999 && build <= 2182 ? wv98SP1 : wv98;
    case 3:
      if (build < 1214) return wv95OSR21;
      return csd == "B" ? wv95OSR21 : wv95OSR25;
    case 0:
      if (build == 1111) return wv95OSR2;
      return build >= 950 && build <= 1080 ? wv95SP1 : wv95;
    default:
      return wvUnknown;
  }
}

// `server` decides 5.2 for the full name; the technical name passes WOW64 instead and
// reads XP x64 from it. A version after the last one known follows the rules of that one.
TWinVersion ClassifyNT(DWORD major, DWORD minor, DWORD build, bool server, TWinVersion desktop52) {
  switch (major) {
    case 3:
      return wvNT351;
    case 4:
      return wvNT4;
    case 5:
      if (minor == 0) return wv2000;
      if (minor == 1) return wvXP;
      if (minor == 2) return server ? wv2003 : desktop52;
      return wvUnknown;
    case 6:
      switch (minor) {
        case 0: return wvVista;
        case 1: return wv7;
        case 2: return wv8;
        case 3: return wv81;
        default: return wv10;  // 6.4, the first previews of 10
      }
    case 10:
      return build >= 22000 ? wv11 : wv10;
    default:
      return major > 10 ? wv11 : wvUnknown;
  }
}

// Windows 10 and 11 share the version 10.0 with the servers from 2016 on; the build tells
// those apart.
const char* Server10Name(DWORD build) {
  if (build >= 26100) return "Server 2025";
  if (build >= 20348) return "Server 2022";
  if (build >= 17763) return "Server 2019";
  return "Server 2016";
}

// GetProductInfo's editions of 7 and later past the Vista table.
struct TLaterEdition {
  DWORD Product;
  const char* Text;
};
const TLaterEdition LaterEditions[] = {
    {0x30, ", Professional Edition"},  {0x31, ", Professional Edition"},
    {0x45, ", Professional Edition"},  {0x48, ", Enterprise Edition"},
    {0x62, ", Home Edition"},          {0x63, ", Home Edition"},
    {0x64, ", Home Edition"},          {0x65, ", Home Edition"},
    {0x79, ", Education Edition"},     {0x7A, ", Education Edition"},
    {0x7D, ", Enterprise LTSC Edition"}, {0x7E, ", Enterprise LTSC Edition"},
    {0xA1, ", Pro for Workstations Edition"}, {0xA4, ", Pro Education Edition"},
};

std::string EditionText(DWORD product, bool laterThanVista) {
  if (product < std::size(VistaEditions)) return VistaEditions[product];
  if (laterThanVista)
    for (const TLaterEdition& e : LaterEditions)
      if (e.Product == product) return e.Text;
  return {};
}

// Beta and hotfix texts are not service packs.
std::string ServicePackText(const TRawWindowsVersion& raw) {
  if (raw.PlatformId != VER_PLATFORM_WIN32_NT) return {};
  return raw.CSDVersion.rfind("Service Pack", 0) == 0 ? raw.CSDVersion : std::string();
}

using TGetProductInfo = BOOL(WINAPI*)(DWORD, DWORD, DWORD, DWORD, PDWORD);

// Windows before Vista lacks it.
TGetProductInfo GetProductInfoFn() {
  static const auto function = LoadedFunction<TGetProductInfo>(L"kernel32.dll", "GetProductInfo");
  return function;
}

// NT 4.0 is not asked the extended query, yet its setup leaves the product type here.
BYTE NT4ProductType() {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\ProductOptions", 0,
                    KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
    return 0;
  const TRegKey key(opened);
  char text[32] = {};
  DWORD size = sizeof text - 1;
  DWORD type = 0;
  if (RegQueryValueExA(key.Get(), "ProductType", nullptr, &type, reinterpret_cast<BYTE*>(text),
                       &size) != ERROR_SUCCESS ||
      type != REG_SZ)
    return 0;
  if (lstrcmpiA(text, "WinNT") == 0) return WorkstationType;
  if (lstrcmpiA(text, "LanmanNT") == 0) return 2;  // VER_NT_DOMAIN_CONTROLLER
  if (lstrcmpiA(text, "ServerNT") == 0) return ServerType;
  return 0;
}

std::string CSDText(const char (&csd)[128]) { return std::string(csd, strnlen(csd, sizeof csd)); }

struct TState {
  bool Filled = false;
  bool Overridden = false;
  TRawWindowsVersion Raw;
  TWindowsVersionInfo Info;
};

TState& State() {
  static TState state;
  return state;
}

const TWindowsVersionInfo& Record() {
  TState& state = State();
  if (!state.Filled) {
    state.Raw = ProbeWindowsVersion();
    state.Info = ClassifyWindowsVersion(state.Raw);
    state.Filled = true;
  }
  return state.Info;
}

}  // namespace

TRawWindowsVersion ProbeWindowsVersion(bool extended) {
  TRawWindowsVersion raw;
  OSVERSIONINFOA basic{};
  basic.dwOSVersionInfoSize = sizeof basic;
  if (!GetVersionExA(&basic)) return raw;
  raw.Answered = true;
  raw.Major = basic.dwMajorVersion;
  raw.Minor = basic.dwMinorVersion;
  raw.Build = basic.dwBuildNumber;
  raw.PlatformId = basic.dwPlatformId;
  raw.CSDVersion = CSDText(basic.szCSDVersion);
  raw.Wow64 = Is64BitProcessOrWow64();
  if (!extended) return raw;

  // 95, 98 and NT 4.0 before SP6 reject the larger structure.
  if (raw.Major >= 5) {
    OSVERSIONINFOEXA ex{};
    ex.dwOSVersionInfoSize = sizeof ex;
    if (GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&ex))) {
      raw.Major = ex.dwMajorVersion;
      raw.Minor = ex.dwMinorVersion;
      raw.Build = ex.dwBuildNumber;
      raw.PlatformId = ex.dwPlatformId;
      raw.CSDVersion = CSDText(ex.szCSDVersion);
      raw.ServicePackMajor = ex.wServicePackMajor;
      raw.ServicePackMinor = ex.wServicePackMinor;
      raw.SuiteMask = ex.wSuiteMask;
      raw.ProductType = ex.wProductType;
    }
  } else if (raw.PlatformId == VER_PLATFORM_WIN32_NT) {
    raw.ProductType = NT4ProductType();
  }
  if (raw.PlatformId == VER_PLATFORM_WIN32_NT && raw.Major >= 6) {
    DWORD product = 0;
    if (const TGetProductInfo getProductInfo = GetProductInfoFn();
        getProductInfo &&
        getProductInfo(raw.Major, raw.Minor, raw.ServicePackMajor, raw.ServicePackMinor, &product))
      raw.ProductInfo = product;
  }
  raw.MediaCenter = GetSystemMetrics(87) != 0;  // SM_MEDIACENTER
  raw.TabletPC = GetSystemMetrics(86) != 0;     // SM_TABLETPC
  return raw;
}

TWindowsVersionInfo ClassifyWindowsVersion(const TRawWindowsVersion& raw) {
  TWindowsVersionInfo info;
  if (!raw.Answered) return info;
  info.Major = raw.Major;
  info.Minor = raw.Minor;
  info.Build = raw.Build & 0xFFFF;
  info.ServicePackMajor = raw.ServicePackMajor;
  info.ServicePackMinor = raw.ServicePackMinor;
  info.SuiteMask = raw.SuiteMask;

  switch (raw.PlatformId) {
    case VER_PLATFORM_WIN32s:
      info.Version = wvWin3x;
      break;
    case VER_PLATFORM_WIN32_WINDOWS:
      info.Version = Classify9x(info.Major, info.Minor, info.Build, raw.CSDVersion);
      break;
    case VER_PLATFORM_WIN32_NT:
      info.IsServer = raw.ProductType != WorkstationType;
      info.Version = ClassifyNT(info.Major, info.Minor, info.Build, info.IsServer, wvXP);
      info.ServicePack = ServicePackText(raw);
      if (info.Major >= 5 && info.Minor >= 1) {
        info.IsHome = (info.SuiteMask & SuitePersonal) != 0;
        if (!info.IsHome) info.IsMediaCenter = raw.MediaCenter;
        if (!info.IsHome && !info.IsMediaCenter) info.IsTabletPC = raw.TabletPC;
      }
      if ((info.Major == 5 && info.Minor >= 1) || info.Major >= 6) info.Is64Bit = raw.Wow64;
      if (info.Major >= 6) info.ProductInfo = raw.ProductInfo;
      break;
    default:
      break;
  }

  info.Is2000 = info.Version == wv2000;
  info.IsXP = info.Version == wvXP;
  info.Is2003 = info.Version == wv2003;
  info.IsVista = info.Version >= wvVista;
  info.IsXPOrLater = info.IsXP || info.Is2003 || info.IsVista;
  info.Is2000OrLater = info.Is2000 || info.IsXPOrLater;
  return info;
}

namespace {

std::string NT6Name(const TWindowsVersionInfo& info) {
  if (!info.IsServer) return ShortNames[info.Version];
  switch (info.Version) {
    case wvVista: return "Server 2008";
    case wv7: return "Server 2008 R2";
    case wv8: return "Server 2012";
    case wv81: return "Server 2012 R2";
    default: return Server10Name(info.Build);
  }
}

}  // namespace

std::string WindowsVersionName(const TWindowsVersionInfo& info) {
  if (info.Version == wvUnknown) return {};
  const auto suite = [&](WORD bit) { return (info.SuiteMask & bit) != 0; };
  std::string name = "Microsoft Windows ";
  switch (info.Version) {
    case wvNT4:
      if (!info.IsServer)
        name += "NT 4.0";
      else
        name += suite(SuiteEnterprise) ? "Server 4.0, Enterprise Edition" : "Server 4.0";
      break;
    case wv2000:
      name += "2000";
      if (info.IsServer)
        name += suite(SuiteDatacenter)   ? " Datacenter Server"
                : suite(SuiteEnterprise) ? " Advanced Server"
                                          : " Server";
      break;
    case wvXP:
      name += "XP";
      if (info.Is64Bit) name += " x64";
      name += info.IsHome               ? ", Home Edition"
              : info.IsMediaCenter      ? ", Media Center Edition"
              : info.IsTabletPC         ? ", Tablet PC Edition"
              : suite(SuiteEmbeddedNT) ? " Embedded"
                                        : ", Professional Edition";
      break;
    case wv2003:
      name += "Server 2003";
      if (info.Is64Bit) name += " x64";
      name += suite(SuiteDatacenter)      ? ", Datacenter Edition"
              : suite(SuiteComputeServer) ? ", Compute Cluster Edition"
              : suite(SuiteEnterprise)    ? ", Enterprise Edition"
              : suite(SuiteBlade)         ? ", Web Edition"
                                           : ", Standard Edition";
      break;
    case wvVista:
    case wv7:
    case wv8:
    case wv81:
    case wv10:
    case wv11:
      name += NT6Name(info);
      if (info.Is64Bit) name += " x64";
      name += EditionText(info.ProductInfo, info.Version > wvVista);
      break;
    default:
      name += ShortNames[info.Version];
      break;
  }
  if (!info.ServicePack.empty()) name += ", " + info.ServicePack;
  return name;
}

std::string WindowsVersionString(const TRawWindowsVersion& raw) {
  if (!raw.Answered) return {};
  const DWORD build = raw.Build & 0xFFFF;
  TWinVersion version = wvUnknown;
  if (raw.PlatformId == VER_PLATFORM_WIN32s)
    version = wvWin3x;
  else if (raw.PlatformId == VER_PLATFORM_WIN32_WINDOWS)
    version = Classify9x(raw.Major, raw.Minor, build, raw.CSDVersion);
  else if (raw.PlatformId == VER_PLATFORM_WIN32_NT)
    version = ClassifyNT(raw.Major, raw.Minor, build, !raw.Wow64, wvXPx64);
  if (version == wvUnknown) return {};

  std::string name = std::string("Microsoft Windows ") + ShortNames[version] + ", V" +
                     std::to_string(raw.Major) + "." + (raw.Minor < 10 ? "0" : "") +
                     std::to_string(raw.Minor) + ", Build " + std::to_string(build);
  const std::string servicePack = ServicePackText(raw);
  if (!servicePack.empty()) name += ", " + servicePack;
  return name;
}

void InitWindowsVersion() { Record(); }

const TWindowsVersionInfo& WindowsVersion() { return Record(); }

bool IsWin2000() { return Record().Is2000; }
bool IsWinXP() { return Record().IsXP; }
bool IsWin2003() { return Record().Is2003; }
bool IsWinVista() { return Record().IsVista; }
bool IsWin2000OrLater() { return Record().Is2000OrLater; }
bool IsWinXPOrLater() { return Record().IsXPOrLater; }
bool Is64BitWindows() { return Record().Is64Bit; }
DWORD ServicePackMajor() { return Record().ServicePackMajor; }
std::string WindowsVersionName() { return WindowsVersionName(Record()); }

std::string WindowsVersionString() {
  const TState& state = State();
  return WindowsVersionString(state.Overridden ? state.Raw : ProbeWindowsVersion(false));
}

TWindowsVersionOverride::TWindowsVersionOverride(const TRawWindowsVersion& raw) {
  Record();
  TState& state = State();
  FSavedRaw = state.Raw;
  FSavedOverridden = state.Overridden;
  state.Raw = raw;
  state.Overridden = true;
  state.Info = ClassifyWindowsVersion(state.Raw);
}

TWindowsVersionOverride::~TWindowsVersionOverride() {
  TState& state = State();
  state.Raw = FSavedRaw;
  state.Overridden = FSavedOverridden;
  state.Info = ClassifyWindowsVersion(state.Raw);
}
