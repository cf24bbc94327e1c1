// The least a window program can do: one class, one window the size of Cardmend's wizard,
// shown, painted, and a message loop. Its start is the baseline for cardmend.exe's.
#include <windows.h>

namespace {

constexpr DWORD Style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

LRESULT CALLBACK WndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(h, &ps);
      HBRUSH brush = CreateSolidBrush(RGB(0xEC, 0xEC, 0xE6));
      FillRect(dc, &ps.rcPaint, brush);
      DeleteObject(brush);
      SetBkMode(dc, TRANSPARENT);
      TextOutW(dc, 12, 12, L"Minimal", 7);
      EndPaint(h, &ps);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(h, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, wchar_t*, int show) {
  WNDCLASSEXW wc{sizeof(wc)};
  wc.lpfnWndProc = WndProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = L"TMinimalWindow";
  if (!RegisterClassExW(&wc)) return 1;

  RECT r{0, 0, 470, 311};
  AdjustWindowRectEx(&r, Style, FALSE, WS_EX_APPWINDOW);
  HWND h = CreateWindowExW(WS_EX_APPWINDOW, wc.lpszClassName, L" Minimal", Style, CW_USEDEFAULT,
                           CW_USEDEFAULT, r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                           instance, nullptr);
  if (!h) return 1;
  ShowWindow(h, show);
  UpdateWindow(h);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
