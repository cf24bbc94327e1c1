#include "sysutil/systemlibrary.h"

#include <gtest/gtest.h>

#include <string>

#include "sysutil/system.h"
#include "sysutil/textconv.h"
#include "tests/bed/files.h"
#include "tests/bed/programs.h"
#include "tests/bed/scratch.h"
#include "tests/bed/testbed.h"

namespace {

std::wstring ModulePath(HMODULE module) {
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(module, path, MAX_PATH);
  return std::wstring(path, n);
}

bool StartsWithFolder(const std::wstring& path, const std::wstring& folder) {
  return CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, path.c_str(),
                        static_cast<int>(folder.size()), folder.c_str(),
                        static_cast<int>(folder.size())) == CSTR_EQUAL &&
         path.find(L'\\', folder.size()) == std::wstring::npos;
}

// Sets the current folder for one scope: a planted library there must not count either.
class TCurrentFolder {
 public:
  explicit TCurrentFolder(const std::wstring& folder) {
    wchar_t previous[MAX_PATH];
    FPrevious.assign(previous, GetCurrentDirectoryW(MAX_PATH, previous));
    SetCurrentDirectoryW(folder.c_str());
  }
  TCurrentFolder(const TCurrentFolder&) = delete;
  TCurrentFolder& operator=(const TCurrentFolder&) = delete;
  ~TCurrentFolder() { SetCurrentDirectoryW(FPrevious.c_str()); }

 private:
  std::wstring FPrevious;
};

// A file that Windows would load as a library when asked by its path; any of our own
// programs will do, it needs no exports to be found by name.
void Plant(const std::wstring& path) {
  CopyHelperProgram(L"libraryprobe", path);
  const TModule check(LoadLibraryExW(path.c_str(), nullptr, 0));
  ASSERT_TRUE(check) << "the planted file must be loadable, or the test proves nothing";
}

}  // namespace

TEST(LoadSystemLibrary, LoadsFromTheSystemFolder) {
  const TModule module = LoadSystemLibrary("advapi32.dll");
  ASSERT_TRUE(module);
  EXPECT_TRUE(StartsWithFolder(ModulePath(module.Get()), Widen(GetSystemDir())))
      << Narrow(ModulePath(module.Get()));
}

TEST(LoadSystemLibrary, IgnoresACopyBesideTheProgramAndInTheCurrentFolder) {
  const TScratchFolder current(L"plant");
  const std::wstring name = L"cardmendplanted.dll";
  const std::wstring besideProgram = BuildDir() + L"tests\\" + name;
  Plant(besideProgram);
  Plant(current.Path() + name);
  {
    const TCurrentFolder inScratch(current.Path());
    EXPECT_FALSE(LoadSystemLibrary(Narrow(name)));
    EXPECT_FALSE(GetModuleHandleW(name.c_str()));
  }
  DeleteFileW(besideProgram.c_str());
}

// The security functions are resolved as the program starts, before any test could plant
// a file, so a program of its own starts beside a planted ACLAPI.DLL and in its folder.
TEST(LoadSystemLibrary, StartUpDoesNotLoadAPlantedAclApi) {
  const TScratchFolder folder(L"aclapi");
  const std::wstring probe = folder.Path() + L"libraryprobe.exe";
  CopyHelperProgram(L"libraryprobe", probe);
  Plant(folder.Path() + L"ACLAPI.DLL");
  const std::wstring report = folder.Path() + L"report.txt";
  TStartedProgram started;
  {
    const TCurrentFolder inScratch(folder.Path());
    started = StartProgram(probe, L"\"" + report + L"\"");
  }
  ASSERT_TRUE(started.Process);
  ASSERT_EQ(WaitForExit(started.Process, 20000), 0u);
  const auto text = ReadFileBytes(report);
  ASSERT_TRUE(text);
  const std::string system = GetSystemDir();
  const auto value = [&](const std::string& key) {
    const size_t at = text->find(key + "=");
    return at == std::string::npos ? std::string("?")
                                   : text->substr(at + key.size() + 1,
                                                  text->find('\n', at) - at - key.size() - 1);
  };
  const std::string aclapi = value("aclapi");
  EXPECT_TRUE(aclapi.empty() || StartsWithFolder(Widen(aclapi), Widen(system))) << aclapi;
  EXPECT_TRUE(StartsWithFolder(Widen(value("advapi32")), Widen(system))) << value("advapi32");
}
