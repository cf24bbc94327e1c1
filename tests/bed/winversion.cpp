#include "tests/bed/winversion.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "sysutil/handles.h"
#include "sysutil/textconv.h"
#include "tests/bed/programs.h"
#include "tests/bed/testbed.h"

namespace {

const wchar_t WineKey[] = L"Software\\Wine";
const wchar_t NtVersionKey[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion";
const wchar_t WindowsKey[] = L"System\\CurrentControlSet\\Control\\Windows";
const wchar_t ProductOptionsKey[] = L"System\\CurrentControlSet\\Control\\ProductOptions";

// What Wine needs in the registry to show a release with a chosen service pack.
struct TRelease {
  const wchar_t* Name;
  DWORD Major;
  DWORD Minor;
  DWORD Build;
  bool BuildCountsServicePacks;  // Vista and later: the build is first build + pack
  bool Server;
};
const TRelease Releases[] = {
    {L"win2k", 5, 0, 2195, false, false},   {L"winxp", 5, 1, 2600, false, false},
    {L"winxp64", 5, 2, 3790, false, false}, {L"win2003", 5, 2, 3790, false, true},
    {L"vista", 6, 0, 6000, true, false},    {L"win2008", 6, 0, 6000, true, true},
    {L"win7", 6, 1, 7600, true, false},     {L"win2008r2", 6, 1, 7600, true, true},
};

std::string ErrorText(LONG code) { return " (error " + std::to_string(code) + ")"; }

}  // namespace

TWindowsVersionScope::TWindowsVersionScope(std::wstring_view version,
                                           std::optional<int> servicePack,
                                           std::wstring_view exeName) {
  if (!servicePack) {
    std::wstring wineName(version);
    // Wine 8 has the product types of these two the wrong way round.
    if (wineName == L"win7")
      wineName = L"win2008r2";
    else if (wineName == L"win2008r2")
      wineName = L"win7";
    std::wstring key = WineKey;
    if (!exeName.empty()) key += L"\\AppDefaults\\" + std::wstring(exeName);
    SetString(HKEY_CURRENT_USER, 0, key, L"Version", wineName);
    return;
  }

  if (!exeName.empty()) {
    ADD_FAILURE() << "a service pack applies to every program, not to " << Narrow(exeName);
    return;
  }
  const TRelease* release = nullptr;
  for (const TRelease& r : Releases)
    if (version == r.Name) release = &r;
  const int pack = *servicePack;
  if (!release || pack < 0 || pack > 255) {
    ADD_FAILURE() << "Wine cannot show " << Narrow(version) << " with service pack " << pack;
    return;
  }

  // A Version value would hide the registry from Wine.
  Delete(HKEY_CURRENT_USER, 0, WineKey, L"Version");
  const DWORD build =
      release->Build + (release->BuildCountsServicePacks ? static_cast<DWORD>(pack) : 0);
  // The 32-bit view is what the 32-bit programs read; the 64-bit one is kept alike.
  for (const REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
    SetString(HKEY_LOCAL_MACHINE, view, NtVersionKey, L"CurrentVersion",
              std::to_wstring(release->Major) + L"." + std::to_wstring(release->Minor));
    SetString(HKEY_LOCAL_MACHINE, view, NtVersionKey, L"CurrentBuildNumber",
              std::to_wstring(build));
    SetString(HKEY_LOCAL_MACHINE, view, NtVersionKey, L"CurrentBuild", std::to_wstring(build));
    if (pack > 0)
      SetString(HKEY_LOCAL_MACHINE, view, NtVersionKey, L"CSDVersion",
                L"Service Pack " + std::to_wstring(pack));
    else
      Delete(HKEY_LOCAL_MACHINE, view, NtVersionKey, L"CSDVersion");
  }
  const DWORD packWord = static_cast<DWORD>(pack) << 8;
  Set(HKEY_LOCAL_MACHINE, 0, WindowsKey, L"CSDVersion", REG_DWORD, &packWord, sizeof packWord);
  SetString(HKEY_LOCAL_MACHINE, 0, ProductOptionsKey, L"ProductType",
            release->Server ? L"ServerNT" : L"WinNT");
}

TWindowsVersionScope::~TWindowsVersionScope() {
  for (auto undo = FUndo.rbegin(); undo != FUndo.rend(); ++undo) {
    LONG rc;
    if (undo->Name.empty()) {
      rc = RegDeleteKeyW(undo->Root, undo->Key.c_str());
    } else {
      HKEY opened = nullptr;
      rc = RegOpenKeyExW(undo->Root, undo->Key.c_str(), 0, KEY_SET_VALUE | undo->View, &opened);
      if (rc != ERROR_SUCCESS) {
        ADD_FAILURE() << "cannot reopen " << Narrow(undo->Key) << ErrorText(rc);
        continue;
      }
      const TRegKey key(opened);
      if (undo->Existed)
        rc = RegSetValueExW(key.Get(), undo->Name.c_str(), 0, undo->Type, undo->Data.data(),
                            static_cast<DWORD>(undo->Data.size()));
      else
        rc = RegDeleteValueW(key.Get(), undo->Name.c_str());
      if (rc == ERROR_FILE_NOT_FOUND) rc = ERROR_SUCCESS;
    }
    if (rc != ERROR_SUCCESS)
      ADD_FAILURE() << "cannot restore " << Narrow(undo->Key) << "\\" << Narrow(undo->Name)
                    << ErrorText(rc);
  }
}

HKEY TWindowsVersionScope::OpenForChange(HKEY root, REGSAM view, const std::wstring& key) {
  const REGSAM access = KEY_QUERY_VALUE | KEY_SET_VALUE | view;
  HKEY opened = nullptr;
  LONG rc = RegOpenKeyExW(root, key.c_str(), 0, access, &opened);
  // Missing keys are made one level at a time so that each one made here goes again; only
  // keys outside the redirected views are made.
  for (size_t end = 0; rc == ERROR_FILE_NOT_FOUND && view == 0 && end != std::wstring::npos;) {
    end = key.find(L'\\', end + 1);
    const std::wstring part = key.substr(0, end);
    HKEY created = nullptr;
    DWORD disposition = 0;
    rc =
        RegCreateKeyExW(root, part.c_str(), 0, nullptr, 0, access, nullptr, &created, &disposition);
    if (rc != ERROR_SUCCESS) break;
    TRegKey level(created);
    if (disposition == REG_CREATED_NEW_KEY) FUndo.push_back({root, 0, part, L"", false, 0, {}});
    if (end == std::wstring::npos)
      opened = level.Release();
    else
      rc = ERROR_FILE_NOT_FOUND;
  }
  if (rc != ERROR_SUCCESS) {
    ADD_FAILURE() << "cannot open " << Narrow(key) << ErrorText(rc);
    return nullptr;
  }
  return opened;
}

bool TWindowsVersionScope::Remember(HKEY root, REGSAM view, const std::wstring& key,
                                    const wchar_t* name) {
  const TRegKey opened(OpenForChange(root, view, key));
  if (!opened) return false;
  TUndo undo{root, view, key, name, false, 0, {}};
  DWORD size = 0;
  LONG rc = RegQueryValueExW(opened.Get(), name, nullptr, &undo.Type, nullptr, &size);
  if (rc == ERROR_SUCCESS) {
    undo.Data.resize(size);
    rc = RegQueryValueExW(opened.Get(), name, nullptr, &undo.Type, undo.Data.data(), &size);
    undo.Data.resize(size);
    undo.Existed = true;
  } else if (rc == ERROR_FILE_NOT_FOUND) {
    rc = ERROR_SUCCESS;
  }
  if (rc != ERROR_SUCCESS) {
    ADD_FAILURE() << "cannot read " << Narrow(key) << "\\" << Narrow(name) << ErrorText(rc);
    return false;
  }
  FUndo.push_back(std::move(undo));
  return true;
}

void TWindowsVersionScope::Set(HKEY root, REGSAM view, const std::wstring& key, const wchar_t* name,
                               DWORD type, const void* data, DWORD size) {
  if (!Remember(root, view, key, name)) return;
  const TRegKey opened(OpenForChange(root, view, key));
  const LONG rc =
      opened ? RegSetValueExW(opened.Get(), name, 0, type, static_cast<const BYTE*>(data), size)
             : ERROR_FILE_NOT_FOUND;
  if (rc != ERROR_SUCCESS)
    ADD_FAILURE() << "cannot set " << Narrow(key) << "\\" << Narrow(name) << ErrorText(rc);
}

void TWindowsVersionScope::SetString(HKEY root, REGSAM view, const std::wstring& key,
                                     const wchar_t* name, const std::wstring& value) {
  Set(root, view, key, name, REG_SZ, value.c_str(),
      static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

void TWindowsVersionScope::Delete(HKEY root, REGSAM view, const std::wstring& key,
                                  const wchar_t* name) {
  if (!Remember(root, view, key, name)) return;
  const TRegKey opened(OpenForChange(root, view, key));
  const LONG rc = opened ? RegDeleteValueW(opened.Get(), name) : ERROR_SUCCESS;
  if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND)
    ADD_FAILURE() << "cannot delete " << Narrow(key) << "\\" << Narrow(name) << ErrorText(rc);
}

void PrintTo(const TVersionReport& r, std::ostream* out) {
  *out << r.Major << '.' << r.Minor << '.' << r.Build << " platform " << r.Platform << " \""
       << r.CSDVersion << "\" SP " << r.ServicePackMajor << '.' << r.ServicePackMinor << " suite 0x"
       << std::hex << r.SuiteMask << " type " << std::dec << +r.ProductType << " GetVersion 0x"
       << std::hex << r.GetVersionValue << std::dec << " ex " << r.ExStructure
       << " GetProductInfo ";
  if (!r.HasGetProductInfo)
    *out << "missing";
  else if (r.ProductInfo)
    *out << "0x" << std::hex << *r.ProductInfo << std::dec;
  else
    *out << "FALSE";
  *out << " WOW64 ";
  if (!r.HasIsWow64Process)
    *out << "missing";
  else if (r.Wow64)
    *out << *r.Wow64;
  else
    *out << "FALSE";
  *out << " metrics " << r.MediaCenter << '/' << r.TabletPC << '/' << r.ServerR2;
}

std::wstring VersionProbePath() { return BuildDir() + L"tests\\versionprobe.exe"; }

namespace {

struct TTempFile {
  std::wstring Path;
  TTempFile() {
    wchar_t folder[MAX_PATH];
    wchar_t file[MAX_PATH];
    const DWORD n = GetTempPathW(MAX_PATH, folder);
    if (n && n < MAX_PATH && GetTempFileNameW(folder, L"vpr", 0, file)) Path = file;
  }
  TTempFile(const TTempFile&) = delete;
  TTempFile& operator=(const TTempFile&) = delete;
  ~TTempFile() {
    if (!Path.empty()) DeleteFileW(Path.c_str());
  }
};

std::optional<std::string> ReadWholeFile(const std::wstring& path) {
  const HANDLE created =
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (created == INVALID_HANDLE_VALUE) return std::nullopt;
  const THandle file(created);
  std::string text;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
    text.append(buffer, read);
  return text;
}

std::optional<TVersionReport> ParseReport(const std::string& text) {
  std::map<std::string, std::string> fields;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    const size_t equals = line.find('=');
    if (equals != std::string::npos) fields[line.substr(0, equals)] = line.substr(equals + 1);
    start = end + 1;
  }
  static const char* const Needed[] = {"ex",       "major",       "minor",      "build",
                                        "platform", "csd",         "spmajor",    "spminor",
                                        "suite",    "producttype", "getversion", "productinfo",
                                        "wow64",    "mediacenter", "tabletpc",   "serverr2"};
  for (const char* name : Needed)
    if (!fields.count(name)) return std::nullopt;
  const auto number = [&](const char* name) {
    return static_cast<DWORD>(std::strtoul(fields[name].c_str(), nullptr, 10));
  };
  TVersionReport r;
  r.ExStructure = number("ex") != 0;
  r.Major = number("major");
  r.Minor = number("minor");
  r.Build = number("build");
  r.Platform = number("platform");
  r.CSDVersion = fields["csd"];
  r.ServicePackMajor = static_cast<WORD>(number("spmajor"));
  r.ServicePackMinor = static_cast<WORD>(number("spminor"));
  r.SuiteMask = static_cast<WORD>(number("suite"));
  r.ProductType = static_cast<BYTE>(number("producttype"));
  r.GetVersionValue = number("getversion");
  r.HasGetProductInfo = fields["productinfo"] != "none";
  if (r.HasGetProductInfo && fields["productinfo"] != "fail") r.ProductInfo = number("productinfo");
  r.HasIsWow64Process = fields["wow64"] != "none";
  if (r.HasIsWow64Process && fields["wow64"] != "fail") r.Wow64 = number("wow64") != 0;
  r.MediaCenter = static_cast<int>(number("mediacenter"));
  r.TabletPC = static_cast<int>(number("tabletpc"));
  r.ServerR2 = static_cast<int>(number("serverr2"));
  return r;
}

}  // namespace

std::optional<TVersionReport> RunVersionProbe(const std::wstring& probePath, DWORD timeoutMs) {
  const TTempFile answers;
  if (answers.Path.empty()) {
    ADD_FAILURE() << "no temporary file for the probe";
    return std::nullopt;
  }
  std::wstring commandLine = L"\"" + probePath + L"\" \"" + answers.Path + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateTestProcess(probePath.c_str(), commandLine.data(), FALSE, 0, &startup, &info)) {
    ADD_FAILURE() << "cannot start " << Narrow(probePath)
                  << ErrorText(static_cast<LONG>(GetLastError()));
    return std::nullopt;
  }
  const THandle process(info.hProcess);
  const THandle thread(info.hThread);
  if (WaitForSingleObject(process.Get(), timeoutMs) != WAIT_OBJECT_0) {
    TerminateProcess(process.Get(), 1);
    WaitForSingleObject(process.Get(), 5000);
    ADD_FAILURE() << "the version probe did not end within " << timeoutMs << " ms";
    return std::nullopt;
  }
  DWORD exitCode = 0;
  GetExitCodeProcess(process.Get(), &exitCode);
  const std::optional<std::string> text = ReadWholeFile(answers.Path);
  std::optional<TVersionReport> report;
  if (exitCode == 0 && text) report = ParseReport(*text);
  if (!report)
    ADD_FAILURE() << "the version probe ended with " << exitCode << " and wrote \""
                  << text.value_or("") << '"';
  return report;
}
