#include "sysutil/textconv.h"

#include <gtest/gtest.h>

TEST(TextConv, RoundTripsOutsideTheAnsiCodePage) {
  const std::string text = "Temp \xC3\xA4\xE2\x9C\x93 \xF0\x9F\x94\x91";  // ä ✓ and a key outside the BMP
  EXPECT_EQ(Narrow(Widen(text)), text);
  EXPECT_EQ(Widen(text).size(), 10u);
}

TEST(TextConv, AnsiReplacesWhatTheCodePageLacks) {
  EXPECT_EQ(ToAnsi("abc"), "abc");
  EXPECT_EQ(ToAnsi("\xE2\x9C\x93"), "?");
}
