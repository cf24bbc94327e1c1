#pragma once
// What real releases answer, for tests that run the program "as" one of them through
// TWindowsVersionOverride, e.g.
//   const TWindowsVersionOverride as(KnownWindows(TKnownWindows::XPSP2));
#include "sysutil/windowsversion.h"

enum class TKnownWindows {
  Win98SE,
  Win2000SP4,
  XPSP2,     // 32-bit Professional
  XPSP3,     // 32-bit Professional
  XPx64SP2,  // 5.2 workstation
  Server2003SP2,
  Server2003x64SP2,
  VistaSP2,     // 32-bit Ultimate
  Vistax64SP2,  // Ultimate
  Win7x64SP1,   // Ultimate; the program counts it as Vista
  Win10x64,     // Pro, as it answers a program without an 8.1 or 10 manifest entry: 6.2.9200
};

TRawWindowsVersion KnownWindows(TKnownWindows release);
