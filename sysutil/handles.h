#pragma once
// Owners for kernel-side handles: each closes what it holds exactly once.
#include <windows.h>

#include <utility>

template <typename H, typename Close, H Invalid>
class TOwned {
 public:
  TOwned() = default;
  explicit TOwned(H h) : FHandle(h) {}
  TOwned(const TOwned&) = delete;
  TOwned& operator=(const TOwned&) = delete;
  TOwned(TOwned&& o) noexcept : FHandle(std::exchange(o.FHandle, Invalid)) {}
  TOwned& operator=(TOwned&& o) noexcept {
    if (this != &o) Reset(std::exchange(o.FHandle, Invalid));
    return *this;
  }
  ~TOwned() { Reset(); }

  H Get() const { return FHandle; }
  explicit operator bool() const { return FHandle != Invalid; }
  H Release() { return std::exchange(FHandle, Invalid); }
  void Reset(H h = Invalid) {
    if (FHandle != Invalid) Close{}(FHandle);
    FHandle = h;
  }

 private:
  H FHandle = Invalid;
};

struct TCloseHandle { void operator()(HANDLE h) const { CloseHandle(h); } };
struct TFreeLibrary { void operator()(HMODULE h) const { FreeLibrary(h); } };
struct TRegCloseKey { void operator()(HKEY h) const { RegCloseKey(h); } };
struct TCloseServiceHandle { void operator()(SC_HANDLE h) const { CloseServiceHandle(h); } };

// Process, thread, token, mutex and event handles (NULL when empty).
using THandle = TOwned<HANDLE, TCloseHandle, nullptr>;
using TModule = TOwned<HMODULE, TFreeLibrary, nullptr>;
using TRegKey = TOwned<HKEY, TRegCloseKey, nullptr>;
// Service manager and service handles.
using TServiceHandle = TOwned<SC_HANDLE, TCloseServiceHandle, nullptr>;
