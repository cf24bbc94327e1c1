// A stand-in for a planted HHCtrl.OCX: a library an attacker could put beside the program.
// Its help entry points answer a value the real one never gives, so a test sees at once
// whether this copy was called.
#include <windows.h>

extern "C" __declspec(dllexport) HWND WINAPI PlantedHtmlHelpA(HWND, LPCSTR, UINT, DWORD_PTR) {
  return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x0BADF00D));
}

extern "C" __declspec(dllexport) HWND WINAPI PlantedHtmlHelpW(HWND, LPCWSTR, UINT, DWORD_PTR) {
  return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x0BADF00D));
}
