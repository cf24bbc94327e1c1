#include "sysutil/scopeexit.h"
#include "tests/bed/winversion.h"

#include <gtest/gtest.h>

#include "sysutil/handles.h"
#include "tests/bed/testbed.h"

namespace {

struct TVersionCase {
  const char* Label;
  const wchar_t* Version;
  std::optional<int> ServicePack;
  DWORD Major, Minor, Build, Platform;
  const char* CSDVersion;
  WORD ServicePackMajor;
  BYTE ProductType;
  std::optional<DWORD> ProductInfo;
};

void PrintTo(const TVersionCase& c, std::ostream* out) { *out << c.Label; }

constexpr DWORD K9x = VER_PLATFORM_WIN32_WINDOWS;
constexpr DWORD Nt = VER_PLATFORM_WIN32_NT;
constexpr BYTE Desk = VER_NT_WORKSTATION;
constexpr BYTE Server = VER_NT_SERVER;
constexpr DWORD Ultimate = 0x1C;        // PRODUCT_ULTIMATE
constexpr DWORD StandardServer = 0x07;  // PRODUCT_STANDARD_SERVER

const TVersionCase Cases[] = {
    // 98 SE: 9x keeps major and minor in the build's high word.
    {"win98", L"win98", {}, 4, 10, 0x040A08AE, K9x, " A ", 0, 0, {}},
    {"win2k", L"win2k", {}, 5, 0, 2195, Nt, "Service Pack 4", 4, Desk, {}},
    {"winxp", L"winxp", {}, 5, 1, 2600, Nt, "Service Pack 3", 3, Desk, {}},
    {"winxp_sp2", L"winxp", 2, 5, 1, 2600, Nt, "Service Pack 2", 2, Desk, {}},
    {"winxp64", L"winxp64", {}, 5, 2, 3790, Nt, "Service Pack 2", 2, Desk, {}},
    {"win2003", L"win2003", {}, 5, 2, 3790, Nt, "Service Pack 2", 2, Server, {}},
    {"win2003_sp1", L"win2003", 1, 5, 2, 3790, Nt, "Service Pack 1", 1, Server, {}},
    {"vista", L"vista", {}, 6, 0, 6002, Nt, "Service Pack 2", 2, Desk, Ultimate},
    {"vista_rtm", L"vista", 0, 6, 0, 6000, Nt, "", 0, Desk, Ultimate},
    {"win7", L"win7", {}, 6, 1, 7601, Nt, "Service Pack 1", 1, Desk, Ultimate},
    {"win2008r2", L"win2008r2", {}, 6, 1, 7601, Nt, "Service Pack 1", 1, Server, StandardServer},
    // Without 8.1 or 10 in its manifest a program sees 8.
    {"win10", L"win10", {}, 6, 2, 9200, Nt, "", 0, Desk, Ultimate},
};

class TWindowsVersionTest : public testing::TestWithParam<TVersionCase> {};

TEST_P(TWindowsVersionTest, ProbeSeesTheReleaseUntilTheScopeEnds) {
  const TVersionCase& c = GetParam();
  const std::optional<TVersionReport> before = RunVersionProbe();
  ASSERT_TRUE(before);
  {
    const TWindowsVersionScope scope(c.Version, c.ServicePack);
    const std::optional<TVersionReport> seen = RunVersionProbe();
    ASSERT_TRUE(seen);
    EXPECT_EQ(seen->Major, c.Major);
    EXPECT_EQ(seen->Minor, c.Minor);
    EXPECT_EQ(seen->Build, c.Build);
    EXPECT_EQ(seen->Platform, c.Platform);
    EXPECT_EQ(seen->CSDVersion, c.CSDVersion);
    EXPECT_EQ(seen->ServicePackMajor, c.ServicePackMajor);
    EXPECT_EQ(seen->ServicePackMinor, 0);
    EXPECT_EQ(seen->ProductType, c.ProductType);
    EXPECT_EQ(seen->ProductInfo, c.ProductInfo);
    // What the 64-bit prefix cannot hide from a 32-bit program, whatever the version; a
    // 64-bit one runs without WOW64 under every version too.
    EXPECT_EQ(seen->Wow64, In32BitFlavor);
  }
  EXPECT_EQ(RunVersionProbe(), before);
}

INSTANTIATE_TEST_SUITE_P(Releases, TWindowsVersionTest, testing::ValuesIn(Cases),
                         [](const auto& tested) { return std::string(tested.param.Label); });

bool AppDefaultsKeyExists(const wchar_t* exeName) {
  HKEY opened = nullptr;
  const std::wstring key = std::wstring(L"Software\\Wine\\AppDefaults\\") + exeName;
  const LONG rc = RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &opened);
  const TRegKey owned(opened);
  return rc == ERROR_SUCCESS;
}

TEST(TWindowsVersionScope, ProgramNameLimitsTheVersionToThatProgram) {
  wchar_t folder[MAX_PATH];
  ASSERT_NE(GetTempPathW(MAX_PATH, folder), 0u);
  const std::wstring other = std::wstring(folder) + L"otherversionprobe.exe";
  ASSERT_TRUE(CopyFileW(VersionProbePath().c_str(), other.c_str(), FALSE));
  const TScopeExit removeCopy([&] { DeleteFileW(other.c_str()); });

  const std::optional<TVersionReport> before = RunVersionProbe();
  ASSERT_TRUE(before);
  ASSERT_FALSE(before->Major == 5 && before->Minor == 1) << "the prefix already shows XP";
  const bool keyExisted = AppDefaultsKeyExists(L"versionprobe.exe");
  {
    const TWindowsVersionScope scope(L"winxp", std::nullopt, L"versionprobe.exe");
    const std::optional<TVersionReport> named = RunVersionProbe();
    ASSERT_TRUE(named);
    EXPECT_EQ(named->Major, 5u);
    EXPECT_EQ(named->Minor, 1u);
    EXPECT_EQ(RunVersionProbe(other), before);
  }
  EXPECT_EQ(RunVersionProbe(), before);
  EXPECT_EQ(AppDefaultsKeyExists(L"versionprobe.exe"), keyExisted);
}

// A service pack needs the Version value gone; an outer named scope gets it back.
TEST(TWindowsVersionScope, NestedScopesRestoreInTurn) {
  const std::optional<TVersionReport> before = RunVersionProbe();
  ASSERT_TRUE(before);
  {
    const TWindowsVersionScope outer(L"win2k");
    {
      const TWindowsVersionScope inner(L"winxp", 2);
      const std::optional<TVersionReport> sp2 = RunVersionProbe();
      ASSERT_TRUE(sp2);
      EXPECT_EQ(sp2->Minor, 1u);
      EXPECT_EQ(sp2->ServicePackMajor, 2);
    }
    const std::optional<TVersionReport> win2k = RunVersionProbe();
    ASSERT_TRUE(win2k);
    EXPECT_EQ(win2k->Minor, 0u);
    EXPECT_EQ(win2k->CSDVersion, "Service Pack 4");
  }
  EXPECT_EQ(RunVersionProbe(), before);
}

}  // namespace
