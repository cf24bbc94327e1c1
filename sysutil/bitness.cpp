#include "sysutil/bitness.h"

#include "sysutil/systemlibrary.h"

namespace {

using TIsWow64Process = BOOL(WINAPI*)(HANDLE, PBOOL);

}  // namespace

bool IsWow64() {
  // Resolved on the first call, which may come from another unit's start-up: a namespace
  // variable could still be unset then. Windows 2000 and XP before SP2 lack the function.
  static const auto isWow64Process =
      LoadedFunction<TIsWow64Process>(L"kernel32.dll", "IsWow64Process");
  BOOL wow64 = FALSE;
  return isWow64Process && isWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

bool Is64BitProcessOrWow64() { return sizeof(void*) == 8 || IsWow64(); }
