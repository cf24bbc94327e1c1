// What Windows reads from cardmend.exe before any of its code runs.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sysutil/handles.h"
#include "sysutil/textconv.h"
#include "tests/bed/files.h"
#include "tests/bed/nativefirst.h"
#include "tests/bed/programs.h"
#include "tests/bed/scopedenv.h"
#include "tests/bed/scratch.h"
#include "tests/bed/testbed.h"

namespace {

std::wstring ProgramPath() { return BuildDir() + L"cardmend.exe"; }

std::string Manifest() {
  TModule image(LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
  if (!image) return {};
  HRSRC found = FindResourceW(image.Get(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  if (!found) return {};
  const char* data = static_cast<const char*>(LockResource(LoadResource(image.Get(), found)));
  return std::string(data, SizeofResource(image.Get(), found));
}

// Every field Windows Explorer shows under the file's details, read as Explorer reads them.
TEST(Package, VersionResourceShowsEveryField) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(ProgramPath().c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(ProgramPath().c_str(), 0, size, block.data()));
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &length));
  EXPECT_EQ(info->dwFileVersionMS, MAKELONG(2, 1));
  EXPECT_EQ(info->dwFileVersionLS, MAKELONG(40, 0));
  EXPECT_EQ(info->dwProductVersionMS, MAKELONG(2, 1));
  EXPECT_EQ(info->dwProductVersionLS, MAKELONG(40, 0));
  EXPECT_EQ(info->dwFileType, static_cast<DWORD>(VFT_APP));
  const struct {
    const wchar_t* Name;
    const wchar_t* Value;
  } fields[] = {
      {L"CompanyName", L"Cardmend Project"},
      {L"FileDescription", L"Cardmend smart-card repair wizard"},
      {L"FileVersion", L"1.2.0.40"},
      {L"InternalName", L"cardmend"},
      {L"LegalCopyright", L"Copyright (C) 2008-2026 Cardmend Project"},
      {L"OriginalFilename", L"cardmend.exe"},
      {L"ProductName", L"Cardmend"},
      {L"ProductVersion", L"1.2.0.40"},
  };
  for (const auto& field : fields) {
    wchar_t* value = nullptr;
    const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + field.Name;
    ASSERT_TRUE(VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length))
        << Narrow(field.Name);
    EXPECT_STREQ(value, field.Value) << Narrow(field.Name);
  }
}

TEST(Package, ManifestAsksForAdministratorAndDeclaresEveryWindowsFromVistaTo11) {
  const std::string manifest = Manifest();
  ASSERT_FALSE(manifest.empty());
  EXPECT_NE(manifest.find("level=\"requireAdministrator\""), std::string::npos);
  // Vista, 7, 8, 8.1 and 10 (which 11 shares): Windows then reports its true version.
  for (const char* id : {"e2011457-1546-43c5-a5fe-008deee3d3f0", "35138b9a-5d96-4fbd-8e2d-a2440225f93a",
                         "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38", "1f676c76-80e1-4239-95bb-83d0f6d0da78",
                         "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"})
    EXPECT_NE(manifest.find(id), std::string::npos) << id;
}

// Windows stretches the window of a program that does not say it scales itself: blurry.
TEST(Package, ManifestDeclaresTheProgramAwareOfTheScaleOfEachDisplay) {
  const std::string manifest = Manifest();
  EXPECT_NE(manifest.find("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">"
                          "true</dpiAware>"),
            std::string::npos);
  EXPECT_NE(manifest.find("<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">"
                          "PerMonitorV2, System</dpiAwareness>"),
            std::string::npos);
}

// Started from a USB stick or a share, the program runs elevated from a folder others may
// write: Windows loads a library that is no KnownDLL from the program's folder first, so
// one planted there under the name of a library it imports would run as administrator.
// Wine is told to do the same for these names. The stand-in records its loads and calls; the
// program is started as the wizard (it paints its pictures and reads its file version) and
// with /check. Wine's own user32 imports version.dll and calls it, which Windows' does not,
// so for that name the measure is that the program itself never calls the planted copy.
TEST(Package, LoadsNoLibraryPlantedBesideIt) {
  const TScratchFolder folder(L"planted");
  const std::wstring program = folder.Path() + L"cardmend.exe";
  ASSERT_TRUE(CopyFileW(ProgramPath().c_str(), program.c_str(), FALSE));
  const std::wstring stand = BuildDir() + L"doubles\\plantedlibrary.dll";
  for (const wchar_t* name : {L"version.dll", L"msimg32.dll"})
    ASSERT_TRUE(CopyFileW(stand.c_str(), (folder.Path() + name).c_str(), FALSE));
  const std::wstring log = folder.Path() + L"loaded.log";
  const TScopedEnv logged(L"CARDMEND_PLANTED_LOG", log.c_str());
  const TNativeFirst asWindowsDoes({L"version", L"msimg32"});

  // The stand-in does record a load.
  FreeLibrary(LoadLibraryW((folder.Path() + L"msimg32.dll").c_str()));
  ASSERT_TRUE(FileExists(log));
  ASSERT_TRUE(DeleteFileW(log.c_str()));

  {
    const TStartedProgram wizard = StartProgram(program);
    ASSERT_TRUE(wizard.Process);
    const HWND form = WaitForWindow(wizard.ProcessId, L"TCardmendMainForm", 20000);
    EXPECT_TRUE(form);
    if (form) {
      UpdateWindow(form);
      RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
      Sleep(500);
      PostMessageW(form, WM_CLOSE, 0, 0);
    }
    if (WaitForExit(wizard.Process, 10000) == STILL_ACTIVE) TerminateProcess(wizard.Process.Get(), 1);
  }
  const TStartedProgram check = StartProgram(program, L"/check");
  ASSERT_TRUE(check.Process);
  EXPECT_NE(WaitForExit(check.Process, 60000), static_cast<DWORD>(STILL_ACTIVE));

  const std::string bytes = ReadFileBytes(log).value_or("");
  const std::string record =
      Narrow(std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2));
  std::string lower = record;
  CharLowerBuffA(lower.data(), static_cast<DWORD>(lower.size()));
  EXPECT_EQ(lower.find("msimg32.dll"), std::string::npos) << record;
  EXPECT_EQ(lower.find(" from cardmend.exe"), std::string::npos) << record;
}

}  // namespace
