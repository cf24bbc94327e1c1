// waitwindow CLASS TIMEOUT_MS: ends with 0 once a visible top-level window of that class
// has painted, printing its rectangle as WIDTHxHEIGHT+LEFT+TOP (desktop coordinates), or
// with 1 when none showed in time. Lets scripts wait for a program's window.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, wchar_t*, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argc < 3) return 2;
  const DWORD timeout = static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10));
  const DWORD start = GetTickCount();
  for (;;) {
    HWND h = FindWindowW(argv[1], nullptr);
    if (h && IsWindowVisible(h)) {
      // Give the first paint a moment to reach the screen.
      Sleep(500);
      RECT r{};
      GetWindowRect(h, &r);
      char line[64];
      const int n = wsprintfA(line, "%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top,
                              r.left, r.top);
      DWORD written = 0;
      WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line, static_cast<DWORD>(n), &written, nullptr);
      return 0;
    }
    if (GetTickCount() - start >= timeout) return 1;
    Sleep(50);
  }
}
