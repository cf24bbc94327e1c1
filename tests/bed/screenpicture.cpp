#include "tests/bed/screenpicture.h"

#include "tests/bed/bmpfile.h"
#include "ui/application.h"
#include "ui/bitmap.h"
#include "ui/canvas.h"
#include "ui/windowdc.h"

void ShowForPicture(HWND window) {
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  for (int i = 0; i < 20; ++i) {
    Application().ProcessMessages();
    Sleep(10);
  }
}

bool SaveScreen(const RECT& r, const std::wstring& path, COLORREF fill) {
  TBitmap picture(r.right - r.left, r.bottom - r.top);
  picture.Fill(fill);
  // Only what is on the screen: Wine copies nothing at all of a rectangle reaching past it.
  const RECT screenRect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  RECT shown{};
  if (IntersectRect(&shown, &r, &screenRect)) {
    TBitmapCanvas canvas(picture);
    const TClientDC screen(nullptr);
    BitBlt(canvas.Canvas().Handle(), shown.left - r.left, shown.top - r.top, shown.right - shown.left,
           shown.bottom - shown.top, screen.Handle(), shown.left, shown.top, SRCCOPY);
  }
  GdiFlush();
  return SaveBmp(picture, path);
}
