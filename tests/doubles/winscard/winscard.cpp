// The test bed's WINSCARD.DLL: answers from what the real resource manager depends on, the
// SCardSvr service running and the Calais keys, so that a repair can be seen to work.
// It knows no reader hardware and no cards: attached readers are the sub-keys of
// Calais\Readers, contexts are numbers nobody keeps (any non-zero one releases), and the
// service counts as working when the manager says it runs, whatever it does.
// TEST KNOB: a REG_DWORD under HKLM\Software\CardmendTest\WinSCard (EstablishUser,
// EstablishSystem, ListReaders) is returned by that call instead of its own answer; 0 is
// no knob. EstablishDelay holds every SCardEstablishContext for that many milliseconds
// first, as a resource manager stuck in "start pending" holds its callers.
#include <windows.h>

#include <string>

#include "sysutil/handles.h"

namespace {

using TContext = ULONG_PTR;

constexpr LONG Success = 0;
constexpr LONG InvalidHandle = static_cast<LONG>(0x80100003);
constexpr LONG InsufficientBuffer = static_cast<LONG>(0x80100008);
constexpr LONG InvalidParameter = static_cast<LONG>(0x80100004);
constexpr LONG NoService = static_cast<LONG>(0x8010001D);
constexpr LONG NoReaders = static_cast<LONG>(0x8010002E);
constexpr DWORD UserScope = 0;
constexpr DWORD SystemScope = 2;

const wchar_t CalaisPath[] = L"Software\\Microsoft\\Cryptography\\Calais";
const wchar_t ReadersPath[] = L"Software\\Microsoft\\Cryptography\\Calais\\Readers";
const wchar_t Knobs[] = L"Software\\CardmendTest\\WinSCard";

struct TCloseScm { void operator()(SC_HANDLE h) const { CloseServiceHandle(h); } };
using TScmHandle = TOwned<SC_HANDLE, TCloseScm, nullptr>;

// Like the real service, ours is 64-bit in spirit: it reads the 64-bit view.
TRegKey Open64(const wchar_t* path, REGSAM access) {
  HKEY raw = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, access | KEY_WOW64_64KEY, &raw) != ERROR_SUCCESS)
    return TRegKey();
  return TRegKey(raw);
}

bool Knob(const wchar_t* name, LONG& answer) {
  const TRegKey key = Open64(Knobs, KEY_QUERY_VALUE);
  DWORD value = 0, size = sizeof(value), type = 0;
  if (!key || RegQueryValueExW(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value),
                               &size) != ERROR_SUCCESS || type != REG_DWORD)
    return false;
  answer = static_cast<LONG>(value);
  return true;
}

bool ServiceRunning() {
  const TScmHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
  if (!manager) return false;
  const TScmHandle service(OpenServiceW(manager.Get(), L"SCardSvr", SERVICE_QUERY_STATUS));
  SERVICE_STATUS status{};
  return service && QueryServiceStatus(service.Get(), &status) &&
         status.dwCurrentState == SERVICE_RUNNING;
}

LONG NextContext() {
  static LONG counter = 0x5C000000;
  return InterlockedIncrement(&counter);
}

// The reader names as one multi-string ("a\0b\0\0"), empty when there are none.
std::string ReaderNames() {
  const TRegKey key = Open64(ReadersPath, KEY_ENUMERATE_SUB_KEYS);
  std::string names;
  if (!key) return names;
  for (DWORD i = 0;; ++i) {
    char name[256];
    DWORD length = sizeof(name);
    if (RegEnumKeyExA(key.Get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    names.append(name, length);
    names += '\0';
  }
  if (!names.empty()) names += '\0';
  return names;
}

}  // namespace

extern "C" {

LONG WINAPI SCardEstablishContext(DWORD scope, const void*, const void*, TContext* context) {
  if (!context) return InvalidParameter;
  if (scope != UserScope && scope != SystemScope && scope != 1) return InvalidParameter;
  LONG answer = Success;
  LONG delay = 0;
  if (Knob(L"EstablishDelay", delay) && delay > 0) Sleep(static_cast<DWORD>(delay));
  if (Knob(scope == SystemScope ? L"EstablishSystem" : L"EstablishUser", answer) &&
      answer != Success)
    return answer;
  if (!ServiceRunning() || !Open64(CalaisPath, KEY_READ)) return NoService;
  *context = static_cast<TContext>(NextContext());
  return Success;
}

LONG WINAPI SCardReleaseContext(TContext context) {
  return context ? Success : InvalidHandle;
}

LONG WINAPI SCardListReadersA(TContext, const char*, char* buffer, DWORD* length) {
  if (!length) return InvalidParameter;
  LONG answer = Success;
  if (Knob(L"ListReaders", answer) && answer != Success) return answer;
  const std::string names = ReaderNames();
  if (names.empty()) return NoReaders;
  const DWORD needed = static_cast<DWORD>(names.size());
  if (buffer && *length < needed) {
    *length = needed;
    return InsufficientBuffer;
  }
  if (buffer) CopyMemory(buffer, names.data(), needed);
  *length = needed;
  return Success;
}

}  // extern "C"
