#include "dialogs/htmlhelp.h"

#include <utility>

#include "sysutil/systemlibrary.h"
#include "sysutil/textconv.h"
#include "sysutil/writeprotection.h"

namespace {

using THtmlHelpA = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
using THtmlHelpW = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);

struct TLoader {
  TModule Library;
  THtmlHelpA Ansi = nullptr;
  THtmlHelpW Wide = nullptr;

  TLoader() : Library(LoadSystemLibrary("HHCtrl.OCX")) {
    if (!Library) return;
    Ansi = ModuleFunction<THtmlHelpA>(Library.Get(), MAKEINTRESOURCEA(14));
    Wide = ModuleFunction<THtmlHelpW>(Library.Get(), MAKEINTRESOURCEA(15));
  }
};

TLoader& Loader() {
  static TLoader loader;
  return loader;
}

std::function<void(const std::string&)>& RefusalReporter() {
  static std::function<void(const std::string&)> reporter;
  return reporter;
}

// The folder without its last separator, except for a drive's root, which needs it.
std::wstring FolderOf(const std::wstring& file) {
  const size_t slash = file.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return L".";
  return file.substr(0, slash == 2 && file[1] == L':' ? slash + 1 : slash);
}

bool MayOpen(const std::wstring& file) {
  if (!OnlyAdministratorsCanChange(FolderOf(file))) return false;
  // A file that is not there yet cannot be trusted or blamed: its folder decides.
  return GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES ||
         OnlyAdministratorsCanChange(file);
}

}  // namespace

HWND HtmlHelp(HWND caller, const std::string& file, UINT command, DWORD_PTR data) {
  const THtmlHelpA entry = Loader().Ansi;
  if (!entry) return nullptr;
  // The ANSI entry point takes the file in the system's code page.
  return entry(caller, ToAnsi(file).c_str(), command, data);
}

bool HtmlHelpAvailable() { return Loader().Ansi && Loader().Wide; }

std::string ApplicationHelpFile() {
  wchar_t path[MAX_PATH] = L"";
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring file(path, n < MAX_PATH ? n : 0);
  const size_t dot = file.find_last_of(L'.');
  if (dot != std::wstring::npos && file.find_first_of(L"\\/", dot) == std::wstring::npos) file.resize(dot);
  return Narrow(file + L".chm");
}

void ShowApplicationHelp(const std::string& topic) {
  const std::string file = ApplicationHelpFile();
  if (!MayOpen(Widen(file))) {
    if (RefusalReporter())
      RefusalReporter()("Help file not opened: users who are not administrators can change it or its folder (" +
                        file + ")");
    return;
  }
  HtmlHelp(nullptr, topic.empty() ? file : file + "::/" + topic, HtmlHelpDisplayTopic, 0);
}

void SetHelpRefusalReporter(std::function<void(const std::string&)> reporter) {
  RefusalReporter() = std::move(reporter);
}
