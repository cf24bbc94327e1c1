#include "sysutil/fileversion.h"

#include <gtest/gtest.h>

#include "sysutil/textconv.h"
#include "tests/bed/files.h"
#include "tests/bed/testbed.h"

TEST(FormatFileVersion, ShowsTheBuildOfFourPartsAndFillsUpShorterOnes) {
  const std::pair<const char*, const char*> cases[] = {
      {"1.2.0.39", "V1.2.0, Build 39"},
      {"1.2.0.039", "V1.2.0, Build 39"},
      {"10.20.30.40000", "V10.20.30, Build 40000"},
      {"1.2.0.", "V1.2.0."},  // the final dot does not count
      {"1.2.0", "V1.2.0"},
      {"2.5", "V2.5.0"},
      {"7", "V7.0.0"},
      {"", "V.0.0"},
      {"1.2.0.beta", "V1.2.0.beta"},  // no number after the third dot: left as it is
      {"1.2.3.4.5", "V1.2.3.4.5"},
  };
  for (const auto& [version, expected] : cases) EXPECT_EQ(FormatFileVersion(version), expected) << version;
}

TEST(FileVersionString, ReadsTheVersionResource) {
  EXPECT_EQ(FileVersionString(Narrow(BuildDir() + L"cardmend.exe"), "1.2.0.39"), "V1.2.0, Build 40");
}

TEST(FileVersionString, GivesTheDefaultWithoutAResource) {
  // The helper programs carry no version resource.
  EXPECT_EQ(FileVersionString(Narrow(HelperProgram(L"libraryprobe")), "1.2.0.39"), "V1.2.0.39");
  EXPECT_EQ(FileVersionString(Narrow(BuildDir() + L"no such file.exe"), "1.2.0.39"), "V1.2.0.39");
}
