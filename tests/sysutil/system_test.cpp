#include "sysutil/bitness.h"
#include "sysutil/system.h"

#include <gtest/gtest.h>

#include <string>

#include "sysutil/textconv.h"
#include "sysutil/wait.h"
#include "tests/bed/scopedenv.h"
#include "tests/bed/testbed.h"
#include "tests/bed/testwindow.h"

TEST(Folders, EndInABackslashAndExist) {
  for (const std::string& folder : {GetWindowsDir(), GetSystemDir()}) {
    SCOPED_TRACE(folder);
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '\\');
    EXPECT_NE(folder.substr(folder.size() - 2), "\\\\");
    const DWORD attributes = GetFileAttributesW(Widen(folder).c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
  }
}

TEST(GetEnvVar, ReadsValuesThatFitTheBuffer) {
  struct TCase {
    const char* Name;
    std::wstring Value;  // empty: not set
    std::string Expected;
  };
  const TCase cases[] = {
      {"not set", L"", ""},
      {"outside the ANSI code page", L"C:\\T\u00e9mp \u2713", "C:\\T\xC3\xA9mp \xE2\x9C\x93"},
      {"254 characters fit", std::wstring(254, L'x'), std::string(254, 'x')},
      {"255 characters count as not set", std::wstring(255, L'x'), ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const TScopedEnv variable(L"CARDMEND_TEST_VAR", c.Value.empty() ? nullptr : c.Value.c_str());
    EXPECT_EQ(GetEnvVar("CARDMEND_TEST_VAR"), c.Expected);
  }
}

// The test prefix is a 64-bit Windows NT; the tests are 32-bit programs under WOW64 in the
// 32-bit flavor and 64-bit programs in the other: 64-bit Windows either way.
TEST(Platform, ReportsNTAndA64BitWindowsInTheTestPrefix) {
  EXPECT_TRUE(IsWindowsNT());
  EXPECT_EQ(IsWow64(), In32BitFlavor);
  EXPECT_TRUE(Is64BitProcessOrWow64());
}

TEST(ForceForeground, BringsTheWindowToTheFront) {
  for (const bool minimised : {true, false}) {
    SCOPED_TRACE(minimised ? "minimised" : "behind another window");
    const TTestWindow target;
    const TTestWindow other;
    ShowWindow(target.Handle(), SW_SHOWNORMAL);
    if (minimised) ShowWindow(target.Handle(), SW_MINIMIZE);
    ShowWindow(other.Handle(), SW_SHOWNORMAL);
    SetForegroundWindow(other.Handle());
    Delay(200);
    ASSERT_EQ(IsIconic(target.Handle()) != FALSE, minimised);
    ASSERT_NE(GetForegroundWindow(), target.Handle());

    EXPECT_TRUE(ForceForeground(target.Handle()));
    EXPECT_FALSE(IsIconic(target.Handle()));
    EXPECT_EQ(GetForegroundWindow(), target.Handle());
  }
}
