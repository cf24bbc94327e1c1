#pragma once
// A plain top-level window of the test process, destroyed with the object.
#include <windows.h>

class TTestWindow {
 public:
  TTestWindow();
  TTestWindow(const TTestWindow&) = delete;
  TTestWindow& operator=(const TTestWindow&) = delete;
  ~TTestWindow();

  HWND Handle() const { return FHandle; }

 private:
  HWND FHandle;
};
