#include "app/repair/pcsc.h"

#include <cstdio>
#include <string>

#include "app/repair/diaglog.h"
#include "sysutil/systemlibrary.h"

namespace {

std::string Hex8(LONG value) {
  char text[9];
  std::snprintf(text, sizeof(text), "%08lX", static_cast<unsigned long>(value));
  return text;
}

}  // namespace

void TPCSCLibrary::Load() {
  if (Loaded()) return;
  TModule module = LoadSystemLibrary("WINSCARD.DLL");
  if (!module) return;
  const auto establish = ModuleFunction<TEstablish>(module.Get(), "SCardEstablishContext");
  const auto release = ModuleFunction<TRelease>(module.Get(), "SCardReleaseContext");
  const auto listReaders = ModuleFunction<TListReaders>(module.Get(), "SCardListReadersA");
  if (!establish || !release || !listReaders) return;
  FEstablish = establish;
  FRelease = release;
  FListReaders = listReaders;
  FModule = std::move(module);
}

void TPCSCLibrary::Free() {
  FEstablish = nullptr;
  FRelease = nullptr;
  FListReaders = nullptr;
  FModule.Reset();
}

bool TPCSCLibrary::Responds() const {
  if (!Loaded()) return false;
  TContext context = 0;
  if (FEstablish(UserScope, nullptr, nullptr, &context) != SCARD_S_SUCCESS) return false;
  FRelease(context);
  if (FEstablish(SystemScope, nullptr, nullptr, &context) != SCARD_S_SUCCESS) return false;
  FRelease(context);
  return true;
}

bool TPCSCLibrary::Check(TDiagnosticLog& log) const {
  log.Log("Checking PC/SC ...");
  bool working = false;
  if (!Loaded()) {
    log.Log("  WINSCARD.DLL is missing or incomplete: PC/SC not available");
  } else {
    TContext context = 0;
    const LONG result = FEstablish(UserScope, nullptr, nullptr, &context);
    const DWORD error = GetLastError();
    log.Log("SCardEstablishContext (User): " + Hex8(result));
    if (result != SCARD_S_SUCCESS) {
      log.Log("  SCardEstablishContext (User) failed with error code " + Hex8(result));
      log.Log("  GetLastError: " + std::to_string(error));
    } else {
      log.Log("  SCardEstablishContext (User) OK");
      FRelease(context);
      working = CheckSystemScope(log);
    }
  }
  log.Log("PC/SC checked");
  log.Log("");
  return working;
}

bool TPCSCLibrary::CheckSystemScope(TDiagnosticLog& log) const {
  TContext context = 0;
  const LONG result = FEstablish(SystemScope, nullptr, nullptr, &context);
  log.Log("SCardEstablishContext (System): " + Hex8(result));
  if (result != SCARD_S_SUCCESS) return false;
  log.Log("  SCardEstablishContext (System) OK");
  DWORD length = 0;
  const LONG listed = FListReaders(context, nullptr, nullptr, &length);
  FRelease(context);
  if (listed == SCARD_S_SUCCESS) {
    log.Log("  SCardListReaders OK (card reader(s) connected)");
    return true;
  }
  if (listed == NoReadersAvailable) {
    log.Log("  SCardListReaders OK (no card reader connected)");
    return true;
  }
  log.Log("  SCardListReaders failed with error code " + Hex8(listed));
  return false;
}
