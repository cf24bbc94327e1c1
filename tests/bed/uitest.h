#pragma once
// Shared by the window framework's tests: pumping the real message loop for a while.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/application.h"
#include "ui/timer.h"

// Handles messages, as the application's loop would, until `ms` have passed.
inline void PumpFor(DWORD ms) {
  const DWORD start = GetTickCount();
  do {
    Application().ProcessMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  } while (GetTickCount() - start < ms);
}

// Posts a key press to `target` the way the keyboard does and lets the loop handle it.
inline void PressKey(HWND target, WPARAM key, bool alt = false) {
  const UINT down = alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
  const UINT up = alt ? WM_SYSKEYUP : WM_KEYUP;
  PostMessageW(target, down, key, alt ? 0x20000001 : 1);
  PostMessageW(target, up, key, alt ? 0xE0000001 : 0xC0000001);
  PumpFor(50);
}

// Closes the message boxes that reach the user meanwhile, remembering their text.
class TMessageBoxCloser {
 public:
  TMessageBoxCloser() {
    FTimer.SetInterval(100);
    FTimer.OnTimer = [this] {
      HWND box = FindWindowW(L"#32770", nullptr);
      if (!box) return;
      wchar_t text[256] = L"";
      GetDlgItemTextW(box, 0xFFFF, text, 256);  // the message box's text
      Shown.push_back(text);
      PostMessageW(box, WM_COMMAND, IDOK, 0);
    };
    FTimer.SetEnabled(true);
  }
  std::vector<std::wstring> Shown;

 private:
  TTimer FTimer;
};

// Runs `action` once the dialog of `className` is up, from the dialog's own loop.
class TWhenShown {
 public:
  TWhenShown(const wchar_t* className, std::function<void(HWND)> action)
      : FClass(className), FAction(std::move(action)) {
    FTimer.SetInterval(100);
    FTimer.OnTimer = [this] {
      HWND dialog = FindWindowW(FClass, nullptr);
      if (!dialog || !IsWindowVisible(dialog)) return;
      FTimer.SetEnabled(false);
      FAction(dialog);
    };
    FTimer.SetEnabled(true);
  }

 private:
  const wchar_t* FClass;
  std::function<void(HWND)> FAction;
  TTimer FTimer;
};
