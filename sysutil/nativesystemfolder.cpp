#include "sysutil/nativesystemfolder.h"

namespace {

using TDisable = BOOL(WINAPI*)(void**);
using TRevert = BOOL(WINAPI*)(void*);

template <typename T>
T Kernel32Function(const char* name) {
  return reinterpret_cast<T>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name)));
}

}  // namespace

TNativeSystemFolder::TNativeSystemFolder() {
  static const auto disable = Kernel32Function<TDisable>("Wow64DisableWow64FsRedirection");
  FActive = disable && disable(&FOldValue);
}

TNativeSystemFolder::~TNativeSystemFolder() {
  static const auto revert = Kernel32Function<TRevert>("Wow64RevertWow64FsRedirection");
  if (FActive && revert) revert(FOldValue);
}
