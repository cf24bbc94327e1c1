// lateexit <milliseconds> <marker file>: lives that long, then writes the marker and ends;
// the marker shows when a program a test started has really ended.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, wchar_t*, int) {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments || count != 3) return 2;
  Sleep(static_cast<DWORD>(std::wcstoul(arguments[1], nullptr, 10)));
  const HANDLE marker =
      CreateFileW(arguments[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  LocalFree(arguments);
  if (marker == INVALID_HANDLE_VALUE) return 1;
  CloseHandle(marker);
  return 0;
}
