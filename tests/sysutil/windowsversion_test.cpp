// The rules that turn Windows' answers into a version and two names, for every system the
// program meets, most of which no test machine (and not Wine) can show.
#include "sysutil/windowsversion.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/bed/knownwindows.h"

namespace {

constexpr DWORD K32s = VER_PLATFORM_WIN32s;
constexpr DWORD K9x = VER_PLATFORM_WIN32_WINDOWS;
constexpr DWORD NtPlatform = VER_PLATFORM_WIN32_NT;
constexpr BYTE Desk = 1;
constexpr BYTE DomainController = 2;
constexpr BYTE ServerType = 3;

struct TNameCase {
  const char* Label;
  TRawWindowsVersion Raw;
  TWinVersion Version;
  bool Is64Bit;
  const char* Name;
  const char* Technical;
};

void PrintTo(const TNameCase& c, std::ostream* out) { *out << c.Label; }

TRawWindowsVersion Win9x(DWORD minor, DWORD build, const char* csd = "") {
  // 95, 98 and Me repeat major and minor in the build's high word.
  return {.Answered = true,
          .Major = 4,
          .Minor = minor,
          .Build = (4u << 24) | (minor << 16) | build,
          .PlatformId = K9x,
          .CSDVersion = csd};
}

TRawWindowsVersion Nt(DWORD major, DWORD minor, DWORD build, const char* csd, BYTE type,
                      WORD suite = 0, bool wow64 = false, DWORD productInfo = 0) {
  TRawWindowsVersion raw{.Answered = true,
                         .Major = major,
                         .Minor = minor,
                         .Build = build,
                         .PlatformId = NtPlatform,
                         .CSDVersion = csd,
                         .SuiteMask = suite,
                         .ProductType = type,
                         .ProductInfo = productInfo,
                         .Wow64 = wow64};
  const std::string text = csd;
  if (text.rfind("Service Pack ", 0) == 0)
    raw.ServicePackMajor = static_cast<WORD>(std::stoi(text.substr(13)));
  return raw;
}

TRawWindowsVersion Metrics(TRawWindowsVersion raw, bool mediaCenter, bool tabletPC) {
  raw.MediaCenter = mediaCenter;
  raw.TabletPC = tabletPC;
  return raw;
}

const char* const ServicePack2 = "Service Pack 2";

std::vector<TNameCase> Cases() {
  std::vector<TNameCase> cases = {
      {"query failed", {}, wvUnknown, false, "", ""},
      {"Win32s",
       {.Answered = true, .Major = 3, .Minor = 10, .Build = 0x80000000u | 102, .PlatformId = K32s},
       wvWin3x,
       false,
       "Microsoft Windows 3.xx",
       "Microsoft Windows 3.xx, V3.10, Build 102"},
      {"Windows CE platform",
       {.Answered = true, .Major = 6, .Minor = 0, .Build = 6000, .PlatformId = 3},
       wvUnknown,
       false,
       "",
       ""},

      {"95", Win9x(0, 949), wv95, false, "Microsoft Windows 95",
       "Microsoft Windows 95, V4.00, Build 949"},
      {"95 build 950", Win9x(0, 950), wv95SP1, false, "Microsoft Windows 95 SP1",
       "Microsoft Windows 95 SP1, V4.00, Build 950"},
      {"95 build 1080", Win9x(0, 1080), wv95SP1, false, "Microsoft Windows 95 SP1",
       "Microsoft Windows 95 SP1, V4.00, Build 1080"},
      {"95 build 1081", Win9x(0, 1081), wv95, false, "Microsoft Windows 95",
       "Microsoft Windows 95, V4.00, Build 1081"},
      {"95 build 1111", Win9x(0, 1111, " B"), wv95OSR2, false, "Microsoft Windows 95 OSR 2",
       "Microsoft Windows 95 OSR 2, V4.00, Build 1111"},
      {"95 minor 3 build 1213 whatever the text", Win9x(3, 1213, " C"), wv95OSR21, false,
       "Microsoft Windows 95 OSR 2.1", "Microsoft Windows 95 OSR 2.1, V4.03, Build 1213"},
      {"95 minor 3 build 1214 text B", Win9x(3, 1214, "B"), wv95OSR21, false,
       "Microsoft Windows 95 OSR 2.1", "Microsoft Windows 95 OSR 2.1, V4.03, Build 1214"},
      {"95 minor 3 build 1214 text C", Win9x(3, 1214, " C"), wv95OSR25, false,
       "Microsoft Windows 95 OSR 2.5", "Microsoft Windows 95 OSR 2.5, V4.03, Build 1214"},
      {"95 minor 3 text B with a space", Win9x(3, 1214, " B"), wv95OSR25, false,
       "Microsoft Windows 95 OSR 2.5", "Microsoft Windows 95 OSR 2.5, V4.03, Build 1214"},
      {"98 build 1998", Win9x(10, 1998), wv98, false, "Microsoft Windows 98",
       "Microsoft Windows 98, V4.10, Build 1998"},
      {"98 build 1999", Win9x(10, 1999), wv98SP1, false, "Microsoft Windows 98 SP1",
       "Microsoft Windows 98 SP1, V4.10, Build 1999"},
      {"98 build 2182", Win9x(10, 2182), wv98SP1, false, "Microsoft Windows 98 SP1",
       "Microsoft Windows 98 SP1, V4.10, Build 2182"},
      {"98 build 2183", Win9x(10, 2183), wv98, false, "Microsoft Windows 98",
       "Microsoft Windows 98, V4.10, Build 2183"},
      // The 9x text is never a service pack, even when it reads like one.
      {"98 build 2222", Win9x(10, 2222, "Service Pack 1"), wv98SE, false, "Microsoft Windows 98 SE",
       "Microsoft Windows 98 SE, V4.10, Build 2222"},
      {"Me", Win9x(90, 3000), wvMe, false, "Microsoft Windows Me",
       "Microsoft Windows Me, V4.90, Build 3000"},
      {"9x minor 5", Win9x(5, 1500), wvUnknown, false, "", ""},
      {"9x major 5",
       {.Answered = true, .Major = 5, .Minor = 0, .Build = 1, .PlatformId = K9x},
       wvUnknown,
       false,
       "",
       ""},

      {"NT 3.51", Nt(3, 51, 1057, "Service Pack 5", 0), wvNT351, false,
       "Microsoft Windows NT 3.51, Service Pack 5",
       "Microsoft Windows NT 3.51, V3.51, Build 1057, Service Pack 5"},
      {"NT 4.0 workstation", Nt(4, 0, 1381, "Service Pack 6", Desk), wvNT4, false,
       "Microsoft Windows NT 4.0, Service Pack 6",
       "Microsoft Windows NT 4.0, V4.00, Build 1381, Service Pack 6"},
      {"NT 4.0 without a product type", Nt(4, 0, 1381, "", 0), wvNT4, false,
       "Microsoft Windows Server 4.0", "Microsoft Windows NT 4.0, V4.00, Build 1381"},
      {"NT 4.0 server", Nt(4, 0, 1381, "", ServerType), wvNT4, false, "Microsoft Windows Server 4.0",
       "Microsoft Windows NT 4.0, V4.00, Build 1381"},
      {"NT 4.0 enterprise server", Nt(4, 0, 1381, "", ServerType, 0x0002), wvNT4, false,
       "Microsoft Windows Server 4.0, Enterprise Edition",
       "Microsoft Windows NT 4.0, V4.00, Build 1381"},

      // 2000 is not asked about WOW64.
      {"2000 Professional", Nt(5, 0, 2195, "Service Pack 4", Desk, 0, true), wv2000, false,
       "Microsoft Windows 2000, Service Pack 4",
       "Microsoft Windows 2000, V5.00, Build 2195, Service Pack 4"},
      {"2000 Server", Nt(5, 0, 2195, "", ServerType), wv2000, false, "Microsoft Windows 2000 Server",
       "Microsoft Windows 2000, V5.00, Build 2195"},
      {"2000 Advanced Server", Nt(5, 0, 2195, "", ServerType, 0x0002), wv2000, false,
       "Microsoft Windows 2000 Advanced Server", "Microsoft Windows 2000, V5.00, Build 2195"},
      {"2000 Datacenter Server", Nt(5, 0, 2195, "", DomainController, 0x0082), wv2000, false,
       "Microsoft Windows 2000 Datacenter Server", "Microsoft Windows 2000, V5.00, Build 2195"},

      {"XP SP3 32-bit", Nt(5, 1, 2600, "Service Pack 3", Desk, 0x0100), wvXP, false,
       "Microsoft Windows XP, Professional Edition, Service Pack 3",
       "Microsoft Windows XP, V5.01, Build 2600, Service Pack 3"},
      {"XP SP2 64-bit", Nt(5, 1, 2600, ServicePack2, Desk, 0, true), wvXP, true,
       "Microsoft Windows XP x64, Professional Edition, Service Pack 2",
       "Microsoft Windows XP, V5.01, Build 2600, Service Pack 2"},
      {"XP Home beats Media Center", Metrics(Nt(5, 1, 2600, "", Desk, 0x0300), true, true), wvXP,
       false, "Microsoft Windows XP, Home Edition", "Microsoft Windows XP, V5.01, Build 2600"},
      {"XP Media Center beats Tablet PC", Metrics(Nt(5, 1, 2600, "", Desk), true, true), wvXP,
       false, "Microsoft Windows XP, Media Center Edition",
       "Microsoft Windows XP, V5.01, Build 2600"},
      {"XP Tablet PC beats Embedded", Metrics(Nt(5, 1, 2600, "", Desk, 0x0040), false, true), wvXP,
       false, "Microsoft Windows XP, Tablet PC Edition", "Microsoft Windows XP, V5.01, Build 2600"},
      {"XP Embedded", Nt(5, 1, 2600, "", Desk, 0x0040), wvXP, false,
       "Microsoft Windows XP Embedded", "Microsoft Windows XP, V5.01, Build 2600"},
      {"XP beta text", Nt(5, 1, 2505, "RC 1", Desk), wvXP, false,
       "Microsoft Windows XP, Professional Edition", "Microsoft Windows XP, V5.01, Build 2505"},
      {"XP text with a leading space", Nt(5, 1, 2600, " Service Pack 1", Desk), wvXP, false,
       "Microsoft Windows XP, Professional Edition", "Microsoft Windows XP, V5.01, Build 2600"},
      {"XP build above 16 bits", Nt(5, 1, 0x10000 | 2600, "", Desk), wvXP, false,
       "Microsoft Windows XP, Professional Edition", "Microsoft Windows XP, V5.01, Build 2600"},

      // 5.2 workstation is XP x64; the technical name only knows WOW64.
      {"5.2 workstation under WOW64", Nt(5, 2, 3790, ServicePack2, Desk, 0, true), wvXP, true,
       "Microsoft Windows XP x64, Professional Edition, Service Pack 2",
       "Microsoft Windows XP x64, V5.02, Build 3790, Service Pack 2"},
      {"5.2 workstation without WOW64", Nt(5, 2, 3790, ServicePack2, Desk), wvXP, false,
       "Microsoft Windows XP, Professional Edition, Service Pack 2",
       "Microsoft Windows Server 2003, V5.02, Build 3790, Service Pack 2"},
      {"2003 x64 Standard under WOW64", Nt(5, 2, 3790, ServicePack2, ServerType, 0, true), wv2003, true,
       "Microsoft Windows Server 2003 x64, Standard Edition, Service Pack 2",
       "Microsoft Windows XP x64, V5.02, Build 3790, Service Pack 2"},
      {"5.2 without a product type", Nt(5, 2, 3790, "", 0), wv2003, false,
       "Microsoft Windows Server 2003, Standard Edition",
       "Microsoft Windows Server 2003, V5.02, Build 3790"},
      {"2003 Datacenter", Nt(5, 2, 3790, "", ServerType, 0x4482), wv2003, false,
       "Microsoft Windows Server 2003, Datacenter Edition",
       "Microsoft Windows Server 2003, V5.02, Build 3790"},
      {"2003 Compute Cluster", Nt(5, 2, 3790, "", ServerType, 0x4402), wv2003, false,
       "Microsoft Windows Server 2003, Compute Cluster Edition",
       "Microsoft Windows Server 2003, V5.02, Build 3790"},
      {"2003 Enterprise", Nt(5, 2, 3790, "", DomainController, 0x0402), wv2003, false,
       "Microsoft Windows Server 2003, Enterprise Edition",
       "Microsoft Windows Server 2003, V5.02, Build 3790"},
      {"2003 Web", Nt(5, 2, 3790, "", ServerType, 0x0400), wv2003, false,
       "Microsoft Windows Server 2003, Web Edition",
       "Microsoft Windows Server 2003, V5.02, Build 3790"},
      {"5.3", Nt(5, 3, 4000, "", Desk), wvUnknown, false, "", ""},

      {"Vista without product info", Nt(6, 0, 6000, "", Desk), wvVista, false,
       "Microsoft Windows Vista", "Microsoft Windows Vista, V6.00, Build 6000"},
      {"Vista x64 product info 29", Nt(6, 0, 6002, ServicePack2, Desk, 0, true, 29), wvVista, true,
       "Microsoft Windows Vista x64, Service Pack 2",
       "Microsoft Windows Vista, V6.00, Build 6002, Service Pack 2"},
      {"Vista unlicensed", Nt(6, 0, 6000, "", Desk, 0, false, 0xABCDABCD), wvVista, false,
       "Microsoft Windows Vista", "Microsoft Windows Vista, V6.00, Build 6000"},
      // Home on 6.0 is never tested; its name comes from the product info alone.
      {"Vista Home Premium x64", Nt(6, 0, 6001, "Service Pack 1", Desk, 0x0200, true, 3), wvVista,
       true, "Microsoft Windows Vista x64, Home Premium Edition, Service Pack 1",
       "Microsoft Windows Vista, V6.00, Build 6001, Service Pack 1"},
      {"2008", Nt(6, 0, 6002, ServicePack2, ServerType, 0, true, 8), wvVista, true,
       "Microsoft Windows Server 2008 x64, Server Datacenter Edition (full installation), Service Pack 2",
       "Microsoft Windows Vista, V6.00, Build 6002, Service Pack 2"},
      {"7 Ultimate", Nt(6, 1, 7601, "Service Pack 1", Desk, 0, true, 1), wv7, true,
       "Microsoft Windows 7 x64, Ultimate Edition, Service Pack 1",
       "Microsoft Windows 7, V6.01, Build 7601, Service Pack 1"},
      {"7 Professional", Nt(6, 1, 7601, "Service Pack 1", Desk, 0, false, 0x30), wv7, false,
       "Microsoft Windows 7, Professional Edition, Service Pack 1",
       "Microsoft Windows 7, V6.01, Build 7601, Service Pack 1"},
      {"2008 R2", Nt(6, 1, 7600, "", ServerType, 0, false, 7), wv7, false,
       "Microsoft Windows Server 2008 R2, Server Standard Edition (full installation)",
       "Microsoft Windows 7, V6.01, Build 7600"},
      {"8 or later, as seen undeclared", Nt(6, 2, 9200, "", Desk, 0, true, 0x30), wv8, true,
       "Microsoft Windows 8 x64, Professional Edition", "Microsoft Windows 8, V6.02, Build 9200"},
      {"2012", Nt(6, 2, 9200, "", DomainController, 0, true, 8), wv8, true,
       "Microsoft Windows Server 2012 x64, Server Datacenter Edition (full installation)",
       "Microsoft Windows 8, V6.02, Build 9200"},
      {"8.1", Nt(6, 3, 9600, "", Desk, 0, true, 0x30), wv81, true,
       "Microsoft Windows 8.1 x64, Professional Edition", "Microsoft Windows 8.1, V6.03, Build 9600"},
      {"2012 R2", Nt(6, 3, 9600, "", ServerType, 0, true, 7), wv81, true,
       "Microsoft Windows Server 2012 R2 x64, Server Standard Edition (full installation)",
       "Microsoft Windows 8.1, V6.03, Build 9600"},
      {"10 Pro", Nt(10, 0, 19045, "", Desk, 0, true, 0x30), wv10, true,
       "Microsoft Windows 10 x64, Professional Edition", "Microsoft Windows 10, V10.00, Build 19045"},
      {"10 Home", Nt(10, 0, 19045, "", Desk, 0, false, 0x65), wv10, false,
       "Microsoft Windows 10, Home Edition", "Microsoft Windows 10, V10.00, Build 19045"},
      {"10 Education, an edition the table lacks", Nt(10, 0, 10240, "", Desk, 0, true, 0x1234), wv10,
       true, "Microsoft Windows 10 x64", "Microsoft Windows 10, V10.00, Build 10240"},
      {"11 Enterprise", Nt(10, 0, 22631, "", Desk, 0, true, 4), wv11, true,
       "Microsoft Windows 11 x64, Enterprise Edition", "Microsoft Windows 11, V10.00, Build 22631"},
      {"2016", Nt(10, 0, 14393, "", ServerType, 0, true, 7), wv10, true,
       "Microsoft Windows Server 2016 x64, Server Standard Edition (full installation)",
       "Microsoft Windows 10, V10.00, Build 14393"},
      {"2019", Nt(10, 0, 17763, "", ServerType, 0, true, 8), wv10, true,
       "Microsoft Windows Server 2019 x64, Server Datacenter Edition (full installation)",
       "Microsoft Windows 10, V10.00, Build 17763"},
      {"2022", Nt(10, 0, 20348, "", DomainController, 0, true, 7), wv10, true,
       "Microsoft Windows Server 2022 x64, Server Standard Edition (full installation)",
       "Microsoft Windows 10, V10.00, Build 20348"},
      {"2025", Nt(10, 0, 26100, "", ServerType, 0, true, 8), wv11, true,
       "Microsoft Windows Server 2025 x64, Server Datacenter Edition (full installation)",
       "Microsoft Windows 11, V10.00, Build 26100"},
      {"a Windows after 11", Nt(11, 0, 30000, "", Desk), wv11, false, "Microsoft Windows 11",
       "Microsoft Windows 11, V11.00, Build 30000"},
  };

  // Indexed by the product info from 1; the N editions read like their base editions.
  const char* const editions[] = {
      "Ultimate Edition",
      "Home Basic Edition",
      "Home Premium Edition",
      "Enterprise Edition",
      "Home Basic Edition",
      "Business Edition",
      "Server Standard Edition (full installation)",
      "Server Datacenter Edition (full installation)",
      "Small Business Server",
      "Server Enterprise Edition (full installation)",
      "Starter Edition",
      "Server Datacenter Edition (core installation)",
      "Server Standard Edition (core installation)",
      "Server Enterprise Edition (core installation)",
      "Server Enterprise Edition for Itanium-based Systems",
      "Business Edition",
      "Web Server Edition",
      "Cluster Server Edition",
      "Home Server Edition",
      "Storage Server Express Edition",
      "Storage Server Standard Edition",
      "Storage Server Workgroup Edition",
      "Storage Server Enterprise Edition",
      "Server for Small Business Edition",
      "Small Business Server Premium Edition",
      "Home Premium Edition",
      "Enterprise Edition",
      "Ultimate Edition",
  };
  static std::vector<std::string> texts;  // the cases point into it
  texts.clear();
  texts.reserve(2 * std::size(editions));
  for (DWORD info = 1; info <= std::size(editions); ++info) {
    texts.push_back("Vista product info " + std::to_string(info));
    texts.push_back(std::string("Microsoft Windows Vista, ") + editions[info - 1]);
    cases.push_back({texts[texts.size() - 2].c_str(), Nt(6, 0, 6000, "", Desk, 0, false, info),
                     wvVista, false, texts.back().c_str(),
                     "Microsoft Windows Vista, V6.00, Build 6000"});
  }
  return cases;
}

class TWindowsVersionRules : public testing::TestWithParam<TNameCase> {};

TEST_P(TWindowsVersionRules, ClassifyAndName) {
  const TNameCase& c = GetParam();
  const TWindowsVersionInfo info = ClassifyWindowsVersion(c.Raw);
  EXPECT_EQ(info.Version, c.Version);
  EXPECT_EQ(info.Is64Bit, c.Is64Bit);
  EXPECT_EQ(WindowsVersionName(info), c.Name);
  EXPECT_EQ(WindowsVersionString(c.Raw), c.Technical);

  // The program's queries read the same record.
  const TWindowsVersionOverride as(c.Raw);
  EXPECT_EQ(WindowsVersion(), info);
  EXPECT_EQ(IsWin2000(), c.Version == wv2000);
  EXPECT_EQ(IsWinXP(), c.Version == wvXP);
  EXPECT_EQ(IsWin2003(), c.Version == wv2003);
  EXPECT_EQ(IsWinVista(), c.Version >= wvVista);
  EXPECT_EQ(IsWinXPOrLater(), c.Version == wvXP || c.Version == wv2003 || c.Version >= wvVista);
  EXPECT_EQ(IsWin2000OrLater(), c.Version == wv2000 || IsWinXPOrLater());
  EXPECT_EQ(Is64BitWindows(), c.Is64Bit);
  EXPECT_EQ(ServicePackMajor(), c.Raw.ServicePackMajor);
  EXPECT_EQ(WindowsVersionName(), c.Name);
  EXPECT_EQ(WindowsVersionString(), c.Technical);
}

INSTANTIATE_TEST_SUITE_P(Cases, TWindowsVersionRules, testing::ValuesIn(Cases()),
                         [](const auto& tested) {
                           std::string name = tested.param.Label;
                           for (char& ch : name)
                             if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           return name;
                         });

// The record Windows gave comes back when the last of nested overrides ends.
TEST(TWindowsVersionOverride, NestsAndGivesBackTheRealRecord) {
  const TWindowsVersionInfo real = WindowsVersion();
  const std::string realName = WindowsVersionName();
  {
    const TWindowsVersionOverride xp(Nt(5, 1, 2600, ServicePack2, Desk));
    {
      const TWindowsVersionOverride vista(Nt(6, 0, 6002, ServicePack2, Desk, 0, true, 1));
      EXPECT_TRUE(IsWinVista());
      EXPECT_TRUE(Is64BitWindows());
    }
    EXPECT_TRUE(IsWinXP());
    EXPECT_FALSE(Is64BitWindows());
    EXPECT_EQ(WindowsVersionString(), "Microsoft Windows XP, V5.01, Build 2600, Service Pack 2");
  }
  EXPECT_EQ(WindowsVersion(), real);
  EXPECT_EQ(WindowsVersionName(), realName);
  EXPECT_EQ(WindowsVersionString(), WindowsVersionString(ProbeWindowsVersion(false)));
  EXPECT_EQ(real, ClassifyWindowsVersion(ProbeWindowsVersion()));
}

// Other tests trust these to be the releases they name.
TEST(KnownWindows, AreTheReleasesTheyName) {
  struct TCase {
    TKnownWindows Release;
    bool Accepted;
    bool XPSP2x86;  // the variant the service repair treats apart
    const char* Name;
  };
  const TCase cases[] = {
      {TKnownWindows::Win98SE, false, false, "Microsoft Windows 98 SE"},
      {TKnownWindows::Win2000SP4, true, false, "Microsoft Windows 2000, Service Pack 4"},
      {TKnownWindows::XPSP2, true, true,
       "Microsoft Windows XP, Professional Edition, Service Pack 2"},
      {TKnownWindows::XPSP3, true, false,
       "Microsoft Windows XP, Professional Edition, Service Pack 3"},
      {TKnownWindows::XPx64SP2, true, false,
       "Microsoft Windows XP x64, Professional Edition, Service Pack 2"},
      {TKnownWindows::Server2003SP2, true, false,
       "Microsoft Windows Server 2003, Standard Edition, Service Pack 2"},
      {TKnownWindows::Server2003x64SP2, true, false,
       "Microsoft Windows Server 2003 x64, Standard Edition, Service Pack 2"},
      {TKnownWindows::VistaSP2, true, false,
       "Microsoft Windows Vista, Ultimate Edition, Service Pack 2"},
      {TKnownWindows::Vistax64SP2, true, false,
       "Microsoft Windows Vista x64, Ultimate Edition, Service Pack 2"},
      {TKnownWindows::Win7x64SP1, true, false,
       "Microsoft Windows 7 x64, Ultimate Edition, Service Pack 1"},
      {TKnownWindows::Win10x64, true, false, "Microsoft Windows 10 x64, Professional Edition"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TWindowsVersionOverride as(KnownWindows(c.Release));
    EXPECT_EQ(IsWin2000OrLater(), c.Accepted);
    EXPECT_EQ(IsWinXP() && !Is64BitWindows() && ServicePackMajor() == 2, c.XPSP2x86);
    EXPECT_EQ(WindowsVersionName(), c.Name);
  }
}

}  // namespace
