#pragma once
// The DCs Windows lends a window: given back on every path, also when painting throws;
// a DC never given back is lost to the process (and EndPaint also shows the caret again).
#include <windows.h>

class TPaintDC {
 public:
  explicit TPaintDC(HWND window) : FWindow(window), FDC(BeginPaint(window, &FPaint)) {}
  TPaintDC(const TPaintDC&) = delete;
  TPaintDC& operator=(const TPaintDC&) = delete;
  ~TPaintDC() { EndPaint(FWindow, &FPaint); }
  HDC Handle() const { return FDC; }

 private:
  HWND FWindow;
  PAINTSTRUCT FPaint{};
  HDC FDC;
};

// The whole window's DC, frame included.
class TWindowDC {
 public:
  explicit TWindowDC(HWND window) : FWindow(window), FDC(GetWindowDC(window)) {}
  TWindowDC(const TWindowDC&) = delete;
  TWindowDC& operator=(const TWindowDC&) = delete;
  ~TWindowDC() { ReleaseDC(FWindow, FDC); }
  HDC Handle() const { return FDC; }

 private:
  HWND FWindow;
  HDC FDC;
};

// The client area's DC, for drawing at once outside WM_PAINT.
class TClientDC {
 public:
  explicit TClientDC(HWND window) : FWindow(window), FDC(GetDC(window)) {}
  TClientDC(const TClientDC&) = delete;
  TClientDC& operator=(const TClientDC&) = delete;
  ~TClientDC() { ReleaseDC(FWindow, FDC); }
  HDC Handle() const { return FDC; }

 private:
  HWND FWindow;
  HDC FDC;
};
