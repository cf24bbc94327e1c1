#include "sysutil/nativesystemfolder.h"

#include "sysutil/systemlibrary.h"

namespace {

using TDisable = BOOL(WINAPI*)(void**);
using TRevert = BOOL(WINAPI*)(void*);

}  // namespace

TNativeSystemFolder::TNativeSystemFolder() {
  static const auto disable =
      LoadedFunction<TDisable>(L"kernel32.dll", "Wow64DisableWow64FsRedirection");
  FActive = disable && disable(&FOldValue);
}

TNativeSystemFolder::~TNativeSystemFolder() {
  static const auto revert =
      LoadedFunction<TRevert>(L"kernel32.dll", "Wow64RevertWow64FsRedirection");
  if (FActive && revert) revert(FOldValue);
}
