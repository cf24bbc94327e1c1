#include "dialogs/htmlhelp.h"

#include "sysutil/systemlibrary.h"
#include "sysutil/textconv.h"

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
