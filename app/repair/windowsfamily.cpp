#include "app/repair/windowsfamily.h"

#include "sysutil/windowsversion.h"

TVariantFlags ComputeVariantFlags() {
  TVariantFlags flags;
  flags.XPSP2 = IsXP32SP2();
  flags.Is2003OrXP64 = Is52Family();
  flags.Vista64 = IsWinVista() && Is64BitWindows();
  return flags;
}

bool IsXP32() { return IsWinXP() && !Is64BitWindows(); }

bool IsXP32SP2() { return IsXP32() && ServicePackMajor() == 2; }

bool Is52Family() { return IsWin2003() || (IsWinXP() && Is64BitWindows()); }

bool KeepsServiceImagePath() { return WindowsVersion().Version >= wv7; }
