// What Windows reads from cardmend.exe before any of its code runs.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sysutil/handles.h"
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

TEST(Package, FileVersionIs1_2_0_40) {
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
  wchar_t* name = nullptr;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\StringFileInfo\\040904B0\\ProductName",
                             reinterpret_cast<void**>(&name), &length));
  EXPECT_STREQ(name, L"Cardmend");
}

TEST(Package, ManifestAsksForAdministratorAndHidesWindows81AndLater) {
  const std::string manifest = Manifest();
  ASSERT_FALSE(manifest.empty());
  EXPECT_NE(manifest.find("level=\"requireAdministrator\""), std::string::npos);
  // Declaring 8.1 or 10 would make GetVersionEx report the true version.
  EXPECT_EQ(manifest.find("1f676c76-80e1-4239-95bb-83d0f6d0da78"), std::string::npos);
  EXPECT_EQ(manifest.find("8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"), std::string::npos);
  EXPECT_EQ(manifest.find("maxversiontested"), std::string::npos);
}

}  // namespace
