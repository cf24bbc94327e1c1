#include "tests/bed/knownwindows.h"

namespace {

TRawWindowsVersion Nt(DWORD major, DWORD minor, DWORD build, WORD servicePack, BYTE type,
                      bool wow64, DWORD productInfo = 0) {
  TRawWindowsVersion raw{.Answered = true,
                         .Major = major,
                         .Minor = minor,
                         .Build = build,
                         .PlatformId = VER_PLATFORM_WIN32_NT};
  if (servicePack) raw.CSDVersion = "Service Pack " + std::to_string(servicePack);
  raw.ServicePackMajor = servicePack;
  raw.SuiteMask = 0x0100;  // VER_SUITE_SINGLEUSERTS, as a desktop without Terminal Server has
  raw.ProductType = type;
  raw.ProductInfo = productInfo;
  raw.Wow64 = wow64;
  return raw;
}

constexpr BYTE WorkstationType = 1;
constexpr BYTE ServerType = 3;
constexpr DWORD Ultimate = 1;  // PRODUCT_ULTIMATE
constexpr DWORD Professional = 0x30;  // PRODUCT_PROFESSIONAL

}  // namespace

TRawWindowsVersion KnownWindows(TKnownWindows release) {
  switch (release) {
    case TKnownWindows::Win98SE:
      return {.Answered = true,
              .Major = 4,
              .Minor = 10,
              .Build = 0x040A08AE,
              .PlatformId = VER_PLATFORM_WIN32_WINDOWS,
              .CSDVersion = " A "};
    case TKnownWindows::Win2000SP4: {
      TRawWindowsVersion raw = Nt(5, 0, 2195, 4, WorkstationType, false);
      raw.SuiteMask = 0;
      return raw;
    }
    case TKnownWindows::XPSP2:
      return Nt(5, 1, 2600, 2, WorkstationType, false);
    case TKnownWindows::XPSP3:
      return Nt(5, 1, 2600, 3, WorkstationType, false);
    case TKnownWindows::XPx64SP2:
      return Nt(5, 2, 3790, 2, WorkstationType, true);
    case TKnownWindows::Server2003SP2:
      return Nt(5, 2, 3790, 2, ServerType, false);
    case TKnownWindows::Server2003x64SP2:
      return Nt(5, 2, 3790, 2, ServerType, true);
    case TKnownWindows::VistaSP2:
      return Nt(6, 0, 6002, 2, WorkstationType, false, Ultimate);
    case TKnownWindows::Vistax64SP2:
      return Nt(6, 0, 6002, 2, WorkstationType, true, Ultimate);
    case TKnownWindows::Win7x64SP1:
      return Nt(6, 1, 7601, 1, WorkstationType, true, Ultimate);
    case TKnownWindows::Win81x64:
      return Nt(6, 3, 9600, 0, WorkstationType, true, Professional);
    case TKnownWindows::Win10x64:
      return Nt(10, 0, 19045, 0, WorkstationType, true, Professional);
    case TKnownWindows::Win11x64:
      return Nt(10, 0, 22631, 0, WorkstationType, true, Professional);
  }
  return {};
}
