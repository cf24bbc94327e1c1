#include "sysutil/shellopen.h"

#include <gtest/gtest.h>

#include <vector>

#include "sysutil/system.h"
#include "sysutil/textconv.h"
#include "tests/bed/echorecord.h"
#include "tests/bed/files.h"
#include "tests/bed/registryfixture.h"
#include "tests/bed/scopedenv.h"
#include "tests/bed/scratch.h"

namespace {

const std::wstring StartUrl = L"http://cardmend.test/start?lang=en";

// Registers `type` -> `programId` -> open command in HKEY_CLASSES_ROOT. Unregistered: the
// type is absent; a null command: the program id has no open command.
void Associate(TRegistryFixture& registry, const std::wstring& type,
               const std::wstring& programId, bool registered, const std::wstring* command) {
  registry.RemoveKey(HKEY_CLASSES_ROOT, type);
  registry.RemoveKey(HKEY_CLASSES_ROOT, programId);
  if (!registered) return;
  registry.SetString(HKEY_CLASSES_ROOT, type, L"", programId);
  registry.SetString(HKEY_CLASSES_ROOT, programId, L"", L"Cardmend test type");
  if (command)
    registry.SetString(HKEY_CLASSES_ROOT, programId + L"\\shell\\open\\command", L"", *command);
}

void ReplaceAll(std::wstring& text, const std::wstring& from, const std::wstring& to) {
  for (size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}

// The echo program started by association commands records how it was started; it is
// also placed in the Windows folder for commands written with %SystemRoot%.
class TShellOpenTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { CopyHelperProgram(L"echoargs", WindowsEcho()); }
  static void TearDownTestSuite() { DeleteFileW(WindowsEcho().c_str()); }
  static std::wstring WindowsEcho() { return Widen(GetWindowsDir()) + L"cmecho.exe"; }

  void SetUp() override {
    WriteFileBytes(Document(), "document");
    WriteFileBytes(FScratch.Path() + L".cmz", "four characters");
    WriteFileBytes(FScratch.Path() + L"a.cmz", "five characters");
    CopyHelperProgram(L"echoargs", FScratch.Path() + L"BROWSER.EXE");
  }

  std::wstring Document() const { return FScratch.Path() + L"report \u2713 \u00e4.cmz"; }

  // {echo}: the echo program; {win}: the Windows folder; {dir}: the scratch folder (its
  // name has a blank); {doc}: the document; {url}: the address.
  std::wstring Expand(const wchar_t* pattern) const {
    std::wstring text = pattern;
    ReplaceAll(text, L"{echo}", HelperProgram(L"echoargs"));
    ReplaceAll(text, L"{win}", Widen(GetWindowsDir()));
    ReplaceAll(text, L"{dir}", FScratch.Path());
    ReplaceAll(text, L"{doc}", Document());
    ReplaceAll(text, L"{url}", StartUrl);
    return text;
  }

  std::wstring NextRecord() { return FScratch.Path() + L"record" + std::to_wstring(++FRecords); }

  // Records of starts that must not happen, checked together after a grace period.
  void ExpectNoStart(const std::wstring& record) { FMustStayAbsent.push_back(record); }
  void CheckNothingElseStarted() {
    Sleep(1500);
    for (const auto& record : FMustStayAbsent) EXPECT_FALSE(FileExists(record)) << Narrow(record);
  }

  TScratchFolder FScratch{L"shell \u2713"};

 private:
  int FRecords = 0;
  std::vector<std::wstring> FMustStayAbsent;
};

}  // namespace

TEST_F(TShellOpenTest, OpenDocumentRewritesTheRegisteredCommand) {
  struct TCase {
    const char* Name;
    bool Registered;
    const wchar_t* Command;   // the ".cmz" open command; null: none
    const wchar_t* Document;  // relative paths start in the scratch folder
    bool Opened;
    const wchar_t* Started;   // the echo's command line; null: nothing may start
  };
  const TCase cases[] = {
      {"quoted placeholder keeps its quotes", true, L"\"{echo}\" /view \"%1\"", L"{doc}", true,
       L"\"{echo}\" /view \"{doc}\""},
      {"bare placeholder gets the path unquoted", true, L"\"{echo}\" %1 /x", L"{doc}", true,
       L"\"{echo}\" {doc} /x"},
      {"%SystemRoot% and its backslash become the Windows folder", true,
       L"%SystemRoot%\\cmecho.exe %1", L"{doc}", true, L"{win}cmecho.exe {doc}"},
      {"%SYSTEMROOT% inside quotes", true, L"\"%SYSTEMROOT%\\cmecho.exe\" \"%1\"", L"{doc}", true,
       L"\"{win}cmecho.exe\" \"{doc}\""},
      {"without placeholder the path is appended in quotes", true, L"\"{echo}\" /view", L"{doc}",
       true, L"\"{echo}\" /view \"{doc}\""},
      {"five characters are a path", true, L"\"{echo}\" \"%1\"", L"a.cmz", true,
       L"\"{echo}\" \"a.cmz\""},
      {"four characters are not, registry or not", true, L"\"{echo}\" \"%1\"", L".cmz", false,
       nullptr},
      {"document missing", true, L"\"{echo}\" \"%1\"", L"{dir}absent.cmz", false, nullptr},
      {"type not registered", false, nullptr, L"{doc}", false, nullptr},
      {"program id without open command", true, nullptr, L"{doc}", false, nullptr},
      {"registered program missing", true, L"\"{dir}missing.exe\" \"%1\"", L"{doc}", false,
       nullptr},
  };
  wchar_t previousDir[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, previousDir);
  SetCurrentDirectoryW(FScratch.Path().c_str());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TRegistryFixture registry;
    const std::wstring command = c.Command ? Expand(c.Command) : L"";
    Associate(registry, L".cmz", L"CardmendTest.Document", c.Registered,
              c.Command ? &command : nullptr);
    const std::wstring record = NextRecord();
    const TScopedEnv echoFile(EchoFileVariable, record.c_str());
    EXPECT_EQ(OpenDocument(Narrow(Expand(c.Document))), c.Opened);
    if (!c.Started) {
      ExpectNoStart(record);
      continue;
    }
    const auto echo = WaitForEcho(record, 10000);
    ASSERT_TRUE(echo);
    EXPECT_EQ(echo->CommandLine, Expand(c.Started));
  }
  SetCurrentDirectoryW(previousDir);
  CheckNothingElseStarted();
}

TEST_F(TShellOpenTest, OpenUrlInBrowserStartsTheBrowserWithoutItsOptions) {
  struct TCase {
    const char* Name;
    bool Registered;
    const wchar_t* Command;  // the ".htm" open command; null: none
    int Result;
    const wchar_t* Started;  // the echo's command line; null: nothing may start
  };
  const TCase cases[] = {
      {"quoted browser with options", true, L"\"{echo}\" -osint -url \"%1\"", 0,
       L"\"{echo}\"  {url}"},
      {"upper-case .EXE in a path with blanks", true, L"\"{dir}BROWSER.EXE\" -nohome \"%1\"", 0,
       L"\"{dir}BROWSER.EXE\"  {url}"},
      {"no .exe: up to the first blank", true, L"{win}cmecho -new-window %1", 0,
       L"{win}cmecho  {url}"},
      {"no blank: the whole command", true, L"{win}cmecho.exe", 0, L"{win}cmecho.exe {url}"},
      {"browser missing", true, L"\"{dir}missing.exe\" \"%1\"", ERROR_FILE_NOT_FOUND, nullptr},
      {"no .htm type", false, nullptr, -1, nullptr},
      {"program id without open command", true, nullptr, -1, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TRegistryFixture registry;
    const std::wstring command = c.Command ? Expand(c.Command) : L"";
    Associate(registry, L".htm", L"CardmendTest.Html", c.Registered,
              c.Command ? &command : nullptr);
    const std::wstring record = NextRecord();
    const TScopedEnv echoFile(EchoFileVariable, record.c_str());
    EXPECT_EQ(OpenUrlInBrowser(Narrow(StartUrl)), c.Result);
    if (!c.Started) {
      ExpectNoStart(record);
      continue;
    }
    const auto echo = WaitForEcho(record, 10000);
    ASSERT_TRUE(echo);
    EXPECT_EQ(echo->CommandLine, Expand(c.Started));
    EXPECT_EQ(echo->Show, L"1");  // SW_SHOWNORMAL
  }
  CheckNothingElseStarted();
}

// Any user can store an odd value under HKCU\Software\Classes, which HKEY_CLASSES_ROOT shows:
// the type's program id and its command are read as far as they are text.
TEST_F(TShellOpenTest, OpenUrlInBrowserReadsOddlyStoredAssociations) {
  // The text's bytes, less or more (its terminator) at the end.
  const auto bytes = [](const std::wstring& text, int extra) {
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2 + extra);
  };
  const std::wstring id = L"CardmendTest.Html";
  const std::wstring command = Expand(L"\"{echo}\" \"%1\"");
  struct TCase {
    const char* Name;
    std::string Type;     // the bytes of ".htm"'s default value
    std::string Command;  // the bytes of the program id's open command
  };
  const TCase cases[] = {
      {"half a character, no terminator", bytes(id + L"X", -1), bytes(command, 0)},
      {"no terminator", bytes(id, 0), bytes(command, 0)},
      {"a NUL inside", bytes(id + L'\0' + L"junk", 2), bytes(command + L'\0' + L"junk", 0)},
      {"a command ending in half a character", bytes(id, 2), bytes(command + L"X", -1)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TRegistryFixture registry;
    Associate(registry, L".htm", id, true, &command);
    registry.SetRawString(HKEY_CLASSES_ROOT, L".htm", L"", c.Type);
    registry.SetRawString(HKEY_CLASSES_ROOT, id + L"\\shell\\open\\command", L"", c.Command);
    const std::wstring record = NextRecord();
    const TScopedEnv echoFile(EchoFileVariable, record.c_str());
    EXPECT_EQ(OpenUrlInBrowser(Narrow(StartUrl)), 0);
    const auto echo = WaitForEcho(record, 10000);
    ASSERT_TRUE(echo);
    EXPECT_EQ(echo->CommandLine, Expand(L"\"{echo}\"  {url}"));
  }
}

TEST_F(TShellOpenTest, OpenUrlFallsBackToTheShell) {
  struct TCase {
    const char* Name;
    bool Browser;            // ".htm" opens the echo program
    const wchar_t* Url;
    int Result;
    const wchar_t* Started;  // the echo's command line; null: nothing may start
  };
  const TCase cases[] = {
      {"the browser comes first", true, L"cardmendtest:page", 0,
       L"\"{echo}\"  cardmendtest:page"},
      {"without browser the scheme's own program", false, L"cardmendtest:page", 0,
       L"\"{echo}\" \"cardmendtest:page\""},
      {"nothing knows the address", false, L"cardmendnone:page", -1, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TRegistryFixture registry;
    const std::wstring browser = Expand(L"\"{echo}\" \"%1\"");
    Associate(registry, L".htm", L"CardmendTest.Html", c.Browser, &browser);
    registry.SetString(HKEY_CLASSES_ROOT, L"cardmendtest", L"URL Protocol", L"");
    registry.SetString(HKEY_CLASSES_ROOT, L"cardmendtest\\shell\\open\\command", L"",
                       Expand(L"\"{echo}\" \"%1\""));
    registry.RemoveKey(HKEY_CLASSES_ROOT, L"cardmendnone");
    const std::wstring record = NextRecord();
    const TScopedEnv echoFile(EchoFileVariable, record.c_str());
    EXPECT_EQ(OpenUrl(nullptr, Narrow(c.Url)), c.Result);
    if (!c.Started) {
      ExpectNoStart(record);
      continue;
    }
    const auto echo = WaitForEcho(record, 10000);
    ASSERT_TRUE(echo);
    EXPECT_EQ(echo->CommandLine, Expand(c.Started));
  }
  CheckNothingElseStarted();
}
