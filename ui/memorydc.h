#pragma once
// A memory DC that puts back whatever bitmap it held before it is deleted, so a selected
// bitmap is never destroyed while selected.
#include <windows.h>

class TMemoryDC {
 public:
  explicit TMemoryDC(HDC compatibleWith = nullptr)
      : FHandle(CreateCompatibleDC(compatibleWith)) {}
  TMemoryDC(const TMemoryDC&) = delete;
  TMemoryDC& operator=(const TMemoryDC&) = delete;
  ~TMemoryDC() {
    if (FOld) SelectObject(FHandle, FOld);
    DeleteDC(FHandle);
  }

  HDC Handle() const { return FHandle; }
  void Select(HBITMAP bitmap) {
    HGDIOBJ previous = SelectObject(FHandle, bitmap);
    if (!FOld) FOld = previous;
  }

 private:
  HDC FHandle;
  HGDIOBJ FOld = nullptr;
};
