#pragma once
// How the repairs group the Windows versions: the smart-card service is configured
// differently on 2000, 32-bit XP, the 5.2 releases and Vista and later.
#include <windows.h>

// The three flags the wizard computes once at creation and its repair run branches on.
struct TVariantFlags {
  bool XPSP2 = false;        // 32-bit XP with service pack 2
  bool Is2003OrXP64 = false;  // Server 2003 or XP x64
  bool Vista64 = false;      // 64-bit Vista (and later)
};
TVariantFlags ComputeVariantFlags();

bool IsXP32();
// 32-bit XP with exactly service pack 2, the one release whose service is grouped.
bool IsXP32SP2();
// Server 2003 and XP x64.
bool Is52Family();
// Windows 7 and later host the service in another svchost group than Vista; its image
// path must stay as that Windows set it.
bool KeepsServiceImagePath();
