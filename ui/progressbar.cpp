#include "ui/progressbar.h"

#include <commctrl.h>

#include <algorithm>

TProgressBar::TProgressBar(TWindow* parent) : TWindow(parent) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&icc);
  CreatePlatform(PROGRESS_CLASSW, WS_VISIBLE, 0);
  SetMax(FMax);
}

void TProgressBar::SetMax(int max) {
  FMax = std::max(max, 1);
  SendMessageW(Handle(), PBM_SETRANGE32, 0, FMax);
  SetPosition(std::min(FPosition, FMax));
}

void TProgressBar::SetPosition(int position) {
  FPosition = std::clamp(position, 0, FMax);
  SendMessageW(Handle(), PBM_SETPOS, static_cast<WPARAM>(FPosition), 0);
}
