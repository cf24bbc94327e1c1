// The real probe against the releases Wine can pretend to be. Wine fixes the version when a
// process starts, so a helper program reports what its own record says.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

#include "sysutil/windowsversion.h"
#include "tests/bed/files.h"
#include "tests/bed/programs.h"
#include "tests/bed/scratch.h"
#include "tests/bed/winversion.h"

namespace {

using TReport = std::map<std::string, std::string>;

std::optional<TReport> RunVersionReport() {
  const TScratchFolder folder(L"versionreport");
  const std::wstring answers = folder.Path() + L"report.txt";
  const TStartedProgram program =
      StartProgram(HelperProgram(L"versionreport"), L"\"" + answers + L"\"");
  if (!program.Process) {
    ADD_FAILURE() << "versionreport did not start";
    return std::nullopt;
  }
  const DWORD exitCode = WaitForExit(program.Process, 30000);
  const std::optional<std::string> text = ReadFileBytes(answers);
  if (exitCode != 0 || !text) {
    ADD_FAILURE() << "versionreport ended with " << exitCode;
    return std::nullopt;
  }
  TReport report;
  size_t start = 0;
  while (start < text->size()) {
    size_t end = text->find('\n', start);
    if (end == std::string::npos) end = text->size();
    const std::string line = text->substr(start, end - start);
    const size_t equals = line.find('=');
    if (equals != std::string::npos) report[line.substr(0, equals)] = line.substr(equals + 1);
    start = end + 1;
  }
  return report;
}

struct TReleaseCase {
  const char* Label;
  const wchar_t* Release;
  std::optional<int> ServicePack;  // through the registry, for the whole prefix
  TWinVersion Version;
  DWORD Major, Minor, Build, ServicePackMajor;
  DWORD ProductInfo;
  bool Is64Bit;  // the 64-bit prefix shows every NT release from XP on as 64-bit
  bool Accepted;
  const char* Name;
  const char* Technical;
};

void PrintTo(const TReleaseCase& c, std::ostream* out) { *out << c.Label; }

constexpr DWORD UltimateEdition = 0x1C;  // what Wine answers GetProductInfo for a workstation

const TReleaseCase ReleaseTable[] = {
    {"win98",
     L"win98",
     {},
     wv98SE,
     4,
     10,
     2222,
     0,
     0,
     false,
     false,
     "Microsoft Windows 98 SE",
     "Microsoft Windows 98 SE, V4.10, Build 2222"},
    {"nt40",
     L"nt40",
     {},
     wvNT4,
     4,
     0,
     1381,
     0,
     0,
     false,
     false,
     "Microsoft Windows NT 4.0, Service Pack 6a",
     "Microsoft Windows NT 4.0, V4.00, Build 1381, Service Pack 6a"},
    {"win2k",
     L"win2k",
     {},
     wv2000,
     5,
     0,
     2195,
     4,
     0,
     false,
     true,
     "Microsoft Windows 2000, Service Pack 4",
     "Microsoft Windows 2000, V5.00, Build 2195, Service Pack 4"},
    {"winxp",
     L"winxp",
     {},
     wvXP,
     5,
     1,
     2600,
     3,
     0,
     true,
     true,
     "Microsoft Windows XP x64, Professional Edition, Service Pack 3",
     "Microsoft Windows XP, V5.01, Build 2600, Service Pack 3"},
    {"winxp_sp2", L"winxp", 2, wvXP, 5, 1, 2600, 2, 0, true, true,
     "Microsoft Windows XP x64, Professional Edition, Service Pack 2",
     "Microsoft Windows XP, V5.01, Build 2600, Service Pack 2"},
    {"winxp64",
     L"winxp64",
     {},
     wvXP,
     5,
     2,
     3790,
     2,
     0,
     true,
     true,
     "Microsoft Windows XP x64, Professional Edition, Service Pack 2",
     "Microsoft Windows XP x64, V5.02, Build 3790, Service Pack 2"},
    {"win2003",
     L"win2003",
     {},
     wv2003,
     5,
     2,
     3790,
     2,
     0,
     true,
     true,
     "Microsoft Windows Server 2003 x64, Standard Edition, Service Pack 2",
     "Microsoft Windows XP x64, V5.02, Build 3790, Service Pack 2"},
    {"vista",
     L"vista",
     {},
     wvVista,
     6,
     0,
     6002,
     2,
     UltimateEdition,
     true,
     true,
     "Microsoft Windows Vista x64, Ultimate Edition, Service Pack 2",
     "Microsoft Windows Vista, V6.00, Build 6002, Service Pack 2"},
    {"win7",
     L"win7",
     {},
     wv7,
     6,
     1,
     7601,
     1,
     UltimateEdition,
     true,
     true,
     "Microsoft Windows 7 x64, Ultimate Edition, Service Pack 1",
     "Microsoft Windows 7, V6.01, Build 7601, Service Pack 1"},
    // Without 8.1 or 10 in its manifest a program is told 6.2: the report program has none.
    {"win10",
     L"win10",
     {},
     wv8,
     6,
     2,
     9200,
     0,
     UltimateEdition,
     true,
     true,
     "Microsoft Windows 8 x64, Ultimate Edition",
     "Microsoft Windows 8, V6.02, Build 9200"},
};

class TWindowsVersionUnderWine : public testing::TestWithParam<TReleaseCase> {};

TEST_P(TWindowsVersionUnderWine, RecordAndNamesFitTheRelease) {
  const TReleaseCase& c = GetParam();
  std::optional<TReport> seen;
  if (c.ServicePack) {
    const TWindowsVersionScope scope(c.Release, c.ServicePack);
    seen = RunVersionReport();
  } else {
    const TWindowsVersionScope scope(c.Release, std::nullopt, L"versionreport.exe");
    seen = RunVersionReport();
  }
  ASSERT_TRUE(seen);
  TReport& r = *seen;
  EXPECT_EQ(r["version"], std::to_string(c.Version));
  EXPECT_EQ(r["major"], std::to_string(c.Major));
  EXPECT_EQ(r["minor"], std::to_string(c.Minor));
  EXPECT_EQ(r["build"], std::to_string(c.Build));
  EXPECT_EQ(r["spmajor"], std::to_string(c.ServicePackMajor));
  EXPECT_EQ(r["spminor"], "0");
  EXPECT_EQ(r["productinfo"], std::to_string(c.ProductInfo));
  EXPECT_EQ(r["64bit"], c.Is64Bit ? "1" : "0");
  EXPECT_EQ(r["is2000orlater"], c.Accepted ? "1" : "0");
  EXPECT_EQ(r["accepted"], c.Accepted ? "1" : "0");
  EXPECT_EQ(r["name"], c.Name);
  EXPECT_EQ(r["string"], c.Technical);
}

INSTANTIATE_TEST_SUITE_P(Releases, TWindowsVersionUnderWine, testing::ValuesIn(ReleaseTable),
                         [](const auto& tested) { return std::string(tested.param.Label); });

}  // namespace
