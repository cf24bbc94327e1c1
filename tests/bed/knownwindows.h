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
  Win7x64SP1,   // Ultimate; the Vista rules hold there
  Win81x64,     // Pro, 6.3.9600, as it answers a program that declares 8.1
  Win10x64,     // Pro 22H2, 10.0.19045, as it answers a program that declares 10
  Win11x64,     // Pro 23H2, 10.0.22631
};

TRawWindowsVersion KnownWindows(TKnownWindows release);
