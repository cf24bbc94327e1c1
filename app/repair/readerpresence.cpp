#include "app/repair/readerpresence.h"

#include <windows.h>
#include <setupapi.h>

#include "sysutil/scopeexit.h"
#include "sysutil/systemlibrary.h"

namespace {

// The device setup class "SmartCardReader".
constexpr GUID ReaderClass = {0x50dd5230, 0xba8a, 0x11d1, {0xbf, 0x5d, 0x00, 0x00, 0xf8, 0x05, 0xf5, 0x30}};

using TGetClassDevs = HDEVINFO(WINAPI*)(const GUID*, PCWSTR, HWND, DWORD);
using TEnumDeviceInfo = BOOL(WINAPI*)(HDEVINFO, DWORD, SP_DEVINFO_DATA*);
using TDestroyList = BOOL(WINAPI*)(HDEVINFO);

}  // namespace

// Not imported: a setup library planted beside the program would load first.
std::optional<bool> ReaderAttached() {
  const TModule library = LoadSystemLibrary("setupapi.dll");
  const auto getClassDevs = ModuleFunction<TGetClassDevs>(library.Get(), "SetupDiGetClassDevsW");
  const auto enumDeviceInfo = ModuleFunction<TEnumDeviceInfo>(library.Get(), "SetupDiEnumDeviceInfo");
  const auto destroyList = ModuleFunction<TDestroyList>(library.Get(), "SetupDiDestroyDeviceInfoList");
  if (!getClassDevs || !enumDeviceInfo || !destroyList) return std::nullopt;
  const HDEVINFO devices = getClassDevs(&ReaderClass, nullptr, nullptr, DIGCF_PRESENT);
  if (devices == INVALID_HANDLE_VALUE) return std::nullopt;
  const TScopeExit destroy([&] { destroyList(devices); });
  SP_DEVINFO_DATA device{};
  device.cbSize = sizeof(device);
  if (enumDeviceInfo(devices, 0, &device)) return true;
  if (GetLastError() == ERROR_NO_MORE_ITEMS) return false;
  return std::nullopt;
}
