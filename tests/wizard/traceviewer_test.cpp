#include "app/wizard/traceviewer.h"

#include <gtest/gtest.h>

#include <system_error>

#include "app/repair/diaglog.h"
#include "sysutil/textconv.h"
#include "tests/bed/echorecord.h"
#include "tests/bed/files.h"
#include "tests/bed/registryfixture.h"
#include "tests/bed/scopedenv.h"
#include "tests/bed/scratch.h"

TEST(TraceViewer, NamesFilesWithAnUpperCaseHexCounter) {
  EXPECT_EQ(TTraceViewer::FileName(std::nullopt), "RMDIAG.txt");
  const std::pair<unsigned, const char*> cases[] = {
      {0, "RMDIAG00.txt"}, {9, "RMDIAG09.txt"}, {10, "RMDIAG0A.txt"},
      {255, "RMDIAGFF.txt"}, {256, "RMDIAG100.txt"}, {0xABC, "RMDIAGABC.txt"},
  };
  for (const auto& [counter, name] : cases) EXPECT_EQ(TTraceViewer::FileName(counter), name);
}

namespace {

// A temporary folder whose name the ANSI code page cannot spell, and the echo program as
// the ".txt" viewer: it copies the file it is given before it waits for input, so the
// copy exists when Show has returned.
class TTraceViewerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateDirectoryW(Temp().c_str(), nullptr);
    FRegistry.SetString(HKEY_CLASSES_ROOT, L".txt", L"", L"CardmendTest.LogViewer");
    FRegistry.RemoveKey(HKEY_CLASSES_ROOT, L"CardmendTest.LogViewer");
    FRegistry.SetString(HKEY_CLASSES_ROOT, L"CardmendTest.LogViewer\\shell\\open\\command", L"",
                        L"\"" + HelperProgram(L"echoargs") + L"\" \"%1\"");
    Fill(FLog);
  }

  static void Fill(TDiagnosticLog& log) {
    log.Log("");
    log.Log("Checking PC/SC ...");
    log.Log("Gr\xC3\xBC\xC3\x9F" "e \xE2\x9C\x93");  // "Grüße ✓": the tick is not in the code page
  }

  // Without a trailing backslash.
  std::wstring Temp() const { return FScratch.Path() + L"Temp \u2713\u03a9"; }
  std::wstring Record() const { return FScratch.Path() + L"record"; }
  std::wstring Copy() const { return FScratch.Path() + L"copy"; }

  static std::string ExpectedBytes(const TDiagnosticLog& log) {
    std::string bytes;
    for (const auto& line : log.Lines()) bytes += ToAnsi(line) + "\r\n";
    return bytes;
  }

  // What the viewer was started with.
  std::wstring ViewerCommand(const std::wstring& file) const {
    return L"\"" + HelperProgram(L"echoargs") + L"\" \"" + file + L"\"";
  }

  TScratchFolder FScratch{L"log"};
  TRegistryFixture FRegistry;
  TScopedEnv FTemp{L"Temp", Temp().c_str()};
  TScopedEnv FTmp{L"Tmp", nullptr};
  TScopedEnv FRecordFile{EchoFileVariable, Record().c_str()};
  TScopedEnv FCopyFile{EchoCopyVariable, Copy().c_str()};
  TDiagnosticLog FLog;
  TTraceViewer FViewer;
};

}  // namespace

// The file stays while the program runs, for a viewer that opens it only later, and goes
// at the program's end.
TEST_F(TTraceViewerTest, TheViewerGetsTheLinesAndTheFileGoesAtTheEnd) {
  const std::wstring file = Temp() + L"\\RMDIAG.txt";
  {
    TDiagnosticLog log;
    Fill(log);
    TTraceViewer viewer;
    const HCURSOR cross = LoadCursorW(nullptr, IDC_CROSS);
    SetCursor(cross);
    viewer.Show(log.Lines());
    EXPECT_EQ(GetCursor(), cross);

    const auto echo = WaitForEcho(Record(), 10000);
    ASSERT_TRUE(echo);
    EXPECT_EQ(echo->CommandLine, ViewerCommand(file));
    EXPECT_EQ(ReadFileBytes(Copy()), ExpectedBytes(log));
    Sleep(500);
    EXPECT_EQ(ReadFileBytes(file), ExpectedBytes(log));
  }
  EXPECT_FALSE(FileExists(file));
}

TEST_F(TTraceViewerTest, TakesTheFirstFreeNameAndLeavesOlderLogsAlone) {
  WriteFileBytes(Temp() + L"\\RMDIAG.txt", "older");
  WriteFileBytes(Temp() + L"\\RMDIAG00.txt", "oldest");
  FViewer.Show(FLog.Lines());

  const auto echo = WaitForEcho(Record(), 10000);
  ASSERT_TRUE(echo);
  EXPECT_EQ(echo->CommandLine, ViewerCommand(Temp() + L"\\RMDIAG01.txt"));
  EXPECT_EQ(ReadFileBytes(Copy()), ExpectedBytes(FLog));
  EXPECT_EQ(ReadFileBytes(Temp() + L"\\RMDIAG.txt"), "older");
  EXPECT_EQ(ReadFileBytes(Temp() + L"\\RMDIAG00.txt"), "oldest");
}

TEST_F(TTraceViewerTest, ChoosesTempThenTmpThenTheCurrentFolder) {
  struct TCase {
    const char* Name;
    const wchar_t* Temp;  // "{t}" stands for the temporary folder; null: not set
    const wchar_t* Tmp;
    bool InCurrentFolder;
  };
  const TCase cases[] = {
      {"Temp", L"{t}", L"{t}\\missing", false},
      {"Temp ending in a backslash", L"{t}\\", nullptr, false},
      {"Tmp when Temp is not set", nullptr, L"{t}", false},
      {"Tmp ending in a backslash", nullptr, L"{t}\\", false},
      {"the current folder without both", nullptr, nullptr, true},
  };
  wchar_t previousDir[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, previousDir);
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const auto expand = [this](const wchar_t* v) { return v ? Temp() + (v + 3) : L""; };
    const std::wstring temp = expand(c.Temp), tmp = expand(c.Tmp);
    const TScopedEnv tempVariable(L"Temp", c.Temp ? temp.c_str() : nullptr);
    const TScopedEnv tmpVariable(L"Tmp", c.Tmp ? tmp.c_str() : nullptr);
    SetCurrentDirectoryW(c.InCurrentFolder ? Temp().c_str() : previousDir);
    const std::wstring record = Record() + std::to_wstring(++n);
    const TScopedEnv recordFile(EchoFileVariable, record.c_str());

    TDiagnosticLog log;
    Fill(log);
    TTraceViewer viewer;  // a viewer of its own, whose file goes before the next case
    viewer.Show(log.Lines());
    const auto echo = WaitForEcho(record, 10000);
    ASSERT_TRUE(echo);
    EXPECT_EQ(echo->CommandLine, ViewerCommand(Temp() + L"\\RMDIAG.txt"));
  }
  SetCurrentDirectoryW(previousDir);
}

TEST_F(TTraceViewerTest, WithoutAViewerTheFileIsStillDeleted) {
  FRegistry.RemoveKey(HKEY_CLASSES_ROOT, L".txt");
  {
    TDiagnosticLog log;
    Fill(log);
    TTraceViewer viewer;
    viewer.Show(log.Lines());
  }
  EXPECT_FALSE(FileExists(Temp() + L"\\RMDIAG.txt"));
}

TEST_F(TTraceViewerTest, AnEmptyLogWritesAndShowsNothing) {
  FLog.Clear();
  FViewer.Show(FLog.Lines());
  Sleep(1000);
  EXPECT_FALSE(FileExists(Record()));
  EXPECT_FALSE(FileExists(Temp() + L"\\RMDIAG.txt"));
}

TEST_F(TTraceViewerTest, AFailedSaveThrowsAndPutsTheCursorBack) {
  const std::wstring missing = Temp() + L"\\missing\\";
  const TScopedEnv temp(L"Temp", missing.c_str());
  const HCURSOR cross = LoadCursorW(nullptr, IDC_CROSS);
  SetCursor(cross);
  EXPECT_THROW(FViewer.Show(FLog.Lines()), std::system_error);
  EXPECT_EQ(GetCursor(), cross);
}

// A save that failed created nothing, so the program's end deletes nothing: not even a file
// that appears under the chosen name later, which is someone else's.
TEST_F(TTraceViewerTest, AFailedSaveLeavesALaterFileOfThatNameAlone) {
  const std::wstring missing = Temp() + L"\\missing";
  {
    const TScopedEnv temp(L"Temp", missing.c_str());
    TDiagnosticLog log;
    Fill(log);
    TTraceViewer viewer;
    EXPECT_THROW(viewer.Show(log.Lines()), std::system_error);
    ASSERT_TRUE(CreateDirectoryW(missing.c_str(), nullptr));
    WriteFileBytes(missing + L"\\RMDIAG.txt", "someone else's");
  }
  EXPECT_EQ(ReadFileBytes(missing + L"\\RMDIAG.txt"), "someone else's");
}
