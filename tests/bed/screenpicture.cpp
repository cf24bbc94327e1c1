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
  {
    TBitmapCanvas canvas(picture);
    const TClientDC screen(nullptr);
    BitBlt(canvas.Canvas().Handle(), 0, 0, picture.Width(), picture.Height(), screen.Handle(),
           r.left, r.top, SRCCOPY);
  }
  GdiFlush();
  return SaveBmp(picture, path);
}
