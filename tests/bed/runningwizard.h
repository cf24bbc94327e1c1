#pragma once
// The real cardmend.exe, started for a test and driven from outside through its windows.
#include <windows.h>

#include "tests/bed/controlpictures.h"
#include "tests/bed/programs.h"
#include "tests/bed/testbed.h"

inline constexpr wchar_t FormClass[] = L"TCardmendMainForm";

class TRunningWizard {
 public:
  TRunningWizard() : FProgram(StartProgram(BuildDir() + L"cardmend.exe")) {
    FWindow = WaitForWindow(FProgram.ProcessId, FormClass, 20000);
    FThread = GetWindowThreadProcessId(FWindow, nullptr);
  }
  ~TRunningWizard() {
    if (WaitForExit(FProgram.Process, 0) == STILL_ACTIVE) {
      PostMessageW(FWindow, WM_CLOSE, 0, 0);
      if (WaitForExit(FProgram.Process, 5000) == STILL_ACTIVE)
        TerminateProcess(FProgram.Process.Get(), 1);
    }
  }

  HWND Window() const { return FWindow; }
  const TStartedProgram& Program() const { return FProgram; }

  bool PageShown(const wchar_t* name) const {
    HWND notebook = FindWindowExW(FWindow, nullptr, L"TNotebook", nullptr);
    HWND page = FindWindowExW(notebook, nullptr, L"TPanel", name);
    return page && IsWindowVisible(page);
  }

  HWND Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(FThread, &info) ? info.hwndFocus : nullptr;
  }

  // The wizard is ready for keys once its activation put the focus on a control.
  bool WaitReady() const {
    return WaitUntil([&] { return Focus() != nullptr; }, 10000);
  }

  // A key as the keyboard delivers it: to the focused window of the wizard's thread.
  void Press(WPARAM key) const {
    HWND target = Focus() ? Focus() : FWindow;
    PostMessageW(target, WM_KEYDOWN, key, 1);
    PostMessageW(target, WM_KEYUP, key, 0xC0000001);
  }

  // Enter through the keyboard with Ctrl held, as a user starts a run whose trace shows.
  // Wine matches its key state to the X server's shortly after a window takes the focus: a
  // key pressed before that would be let go again. Ctrl stays down until ReleaseCtrl.
  void PressEnterHoldingCtrl() const {
    SetForegroundWindow(FWindow);
    Sleep(1000);
    TypeKeys({{VK_CONTROL, true}, {VK_RETURN, true}, {VK_RETURN, false}});
  }
  static void ReleaseCtrl() { TypeKeys({{VK_CONTROL, false}}); }

  bool Exited(DWORD timeoutMs) const {
    return WaitForExit(FProgram.Process, timeoutMs) == 0;
  }

 private:
  TStartedProgram FProgram;
  HWND FWindow = nullptr;
  DWORD FThread = 0;
};
