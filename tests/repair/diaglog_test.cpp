#include "app/repair/diaglog.h"

#include <gtest/gtest.h>

TEST(DiagnosticLog, FormatsTheTimeStampZeroPadded) {
  struct TCase {
    WORD Hour, Minute, Second, Milliseconds;
    const char* Text;
    const char* Line;
  };
  const TCase cases[] = {
      {0, 0, 0, 0, "", "00:00:00:000  "},
      {9, 5, 7, 3, "Checking PC/SC ...", "09:05:07:003  Checking PC/SC ..."},
      {23, 59, 59, 999, "  SCardListReaders OK", "23:59:59:999    SCardListReaders OK"},
      {14, 30, 0, 45, "PC/SC checked", "14:30:00:045  PC/SC checked"},
  };
  for (const auto& c : cases) {
    SYSTEMTIME time{};
    time.wYear = 2008;
    time.wMonth = 6;
    time.wDay = 19;
    time.wHour = c.Hour;
    time.wMinute = c.Minute;
    time.wSecond = c.Second;
    time.wMilliseconds = c.Milliseconds;
    EXPECT_EQ(TDiagnosticLog::FormatLine(time, c.Text), c.Line);
  }
}

TEST(DiagnosticLog, KeepsLinesInOrderUntilCleared) {
  TDiagnosticLog log;
  log.Log("");
  log.Log("PC/SC checked");
  ASSERT_EQ(log.Lines().size(), 2u);
  EXPECT_EQ(log.Lines()[0].size(), 14u);  // a bare stamp and its two blanks
  EXPECT_EQ(log.Lines()[0].substr(12), "  ");
  EXPECT_EQ(log.Lines()[1].substr(12), "  PC/SC checked");
  log.Clear();
  EXPECT_TRUE(log.Lines().empty());
}
