// dialogshow [RUNS]: the time from the show call to the first paint of the dialog window,
// for the message dialog with ten lines and for the platform's MessageBoxW with the same
// text, both called the same way from this program. A thread-local hook sees the dialog's
// first paint begin (BeginPaint sends WM_ERASEBKGND; WM_PAINT itself is dispatched, which
// such a hook does not see) and closes it.
// Prints "vexmessage MEDIAN_US" and "messagebox MEDIAN_US" over RUNS runs each (10).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "bench/clock.h"
#include "controls/vexdesign.h"
#include "dialogs/vexmessage.h"
#include "sysutil/textconv.h"

namespace {

double GPainted = 0;

LRESULT CALLBACK AfterCall(int code, WPARAM wp, LPARAM lp) {
  const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lp);
  if (code == HC_ACTION && call->message == WM_ERASEBKGND && GPainted == 0) {
    wchar_t name[64] = L"";
    GetClassNameW(call->hwnd, name, 64);
    if (std::wcscmp(name, L"#32770") == 0 || std::wcscmp(name, L"TVEXMessageForm") == 0) {
      GPainted = NowMs();
      PostMessageW(call->hwnd, WM_CLOSE, 0, 0);
    }
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

double TimeToFirstPaint(const std::function<void()>& show) {
  GPainted = 0;
  const double start = NowMs();
  show();
  return (GPainted - start) * 1000.0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 10;
  DesignStart();
  DesignProductName = "Cardmend";
  std::string text;
  for (int i = 1; i <= 10; ++i)
    text += (i > 1 ? "|" : "") + std::string("Line ") + std::to_string(i) +
            " of the message, long enough to be a line of a real message.";
  std::wstring plain = Widen(text);
  std::replace(plain.begin(), plain.end(), L'|', L'\n');

  HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROCRET, &AfterCall, nullptr, GetCurrentThreadId());
  std::vector<double> ours, platform;
  for (int i = 0; i <= runs; ++i) {  // the first round warms both up and is not counted
    const double a = TimeToFirstPaint([&] { VEXMessage().ShowError(text); });
    const double b = TimeToFirstPaint(
        [&] { MessageBoxW(nullptr, plain.c_str(), L"Cardmend", MB_OK | MB_ICONERROR); });
    if (i == 0) continue;
    ours.push_back(a);
    platform.push_back(b);
  }
  UnhookWindowsHookEx(hook);
  DesignEnd();
  std::printf("vexmessage %.1f\nmessagebox %.1f\n", Median(ours), Median(platform));
  return 0;
}
