#pragma once
// Shows the hourglass for its lifetime and then puts back the cursor it replaced, also
// when the work in between throws.
#include <windows.h>

class TWaitCursor {
 public:
  TWaitCursor() : FPrevious(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
  ~TWaitCursor() { SetCursor(FPrevious); }
  TWaitCursor(const TWaitCursor&) = delete;
  TWaitCursor& operator=(const TWaitCursor&) = delete;

 private:
  HCURSOR FPrevious;
};
