// A stand-in for a library an attacker plants beside the program under the name of one that
// Windows looks for there first (version.dll, msimg32.dll). It appends a line to the file
// that CARDMEND_PLANTED_LOG names when it is loaded ("<path> loaded") and when one of its
// entries is called ("<path> called <entry> from <caller's file name>"); its entries
// answer failure.
#include <windows.h>

#include <string>

namespace {

HINSTANCE Self = nullptr;

void Record(const std::wstring& what) {
  wchar_t log[MAX_PATH], path[MAX_PATH];
  if (!GetEnvironmentVariableW(L"CARDMEND_PLANTED_LOG", log, MAX_PATH)) return;
  const DWORD n = GetModuleFileNameW(Self, path, MAX_PATH);
  const HANDLE file = CreateFileW(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, path, n * sizeof(wchar_t), &written, nullptr);
  WriteFile(file, L" ", sizeof(wchar_t), &written, nullptr);
  WriteFile(file, what.data(), static_cast<DWORD>(what.size() * sizeof(wchar_t)), &written, nullptr);
  WriteFile(file, L"\n", sizeof(wchar_t), &written, nullptr);
  CloseHandle(file);
}

// The file name of the module that holds `address`.
std::wstring ModuleOf(void* address) {
  HMODULE module = nullptr;
  wchar_t path[MAX_PATH] = L"?";
  if (GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                             GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         static_cast<LPCWSTR>(address), &module))
    GetModuleFileNameW(module, path, MAX_PATH);
  const std::wstring full(path);
  return full.substr(full.rfind(L'\\') + 1);
}

void RecordCall(const wchar_t* entry, void* returnAddress) {
  Record(std::wstring(L"called ") + entry + L" from " + ModuleOf(returnAddress));
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  Self = self;
  if (reason == DLL_PROCESS_ATTACH) Record(L"loaded");
  return TRUE;
}

// What a program that imports version.dll or msimg32.dll needs to find, so that such a
// program starts with this copy instead of failing to load (named in the .def file).
extern "C" {
DWORD WINAPI PlantedInfoSize(LPCWSTR, LPDWORD) {
  RecordCall(L"GetFileVersionInfoSizeW", __builtin_return_address(0));
  return 0;
}
BOOL WINAPI PlantedInfo(LPCWSTR, DWORD, DWORD, LPVOID) {
  RecordCall(L"GetFileVersionInfoW", __builtin_return_address(0));
  return FALSE;
}
BOOL WINAPI PlantedQuery(LPCVOID, LPCWSTR, LPVOID*, PUINT) {
  RecordCall(L"VerQueryValueW", __builtin_return_address(0));
  return FALSE;
}
BOOL WINAPI PlantedAlphaBlend(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION) {
  RecordCall(L"AlphaBlend", __builtin_return_address(0));
  return FALSE;
}
}
