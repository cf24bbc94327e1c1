#include "app/repair/readerpresence.h"

#include <windows.h>
#include <setupapi.h>

#include "sysutil/scopeexit.h"
#include "sysutil/systemlibrary.h"

namespace {

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
  const HDEVINFO devices = getClassDevs(&SmartCardReaderClass, nullptr, nullptr, DIGCF_PRESENT);
  if (devices == INVALID_HANDLE_VALUE) return std::nullopt;
  const TScopeExit destroy([&] { destroyList(devices); });
  SP_DEVINFO_DATA device{};
  device.cbSize = sizeof(device);
  if (enumDeviceInfo(devices, 0, &device)) return true;
  if (GetLastError() == ERROR_NO_MORE_ITEMS) return false;
  return std::nullopt;
}
