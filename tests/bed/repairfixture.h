#pragma once
// Shared by the tests of the registry repairs: the smart-card keys of the test prefix put
// into a chosen state and back, the Windows releases the repairs tell apart, and the
// trace without its time stamps.
#include <windows.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/repair/diaglog.h"
#include "sysutil/handles.h"
#include "sysutil/windowsversion.h"
#include "tests/bed/registryfixture.h"

// A registry value as stored: its type and its bytes.
struct TStoredValue {
  DWORD Type = REG_NONE;
  std::vector<BYTE> Data;
  bool operator==(const TStoredValue&) const = default;
};
void PrintTo(const TStoredValue& value, std::ostream* out);

TStoredValue Sz(const std::string& text);
TStoredValue ExpandSz(const std::string& text);
TStoredValue MultiSz(const std::vector<std::string>& items);
TStoredValue Dword(DWORD number);
TStoredValue Binary(std::vector<BYTE> bytes);

// Opens in the 64-bit view, bypassing the helpers under test.
HKEY OpenKey64(const std::string& path, REGSAM access = KEY_READ);
bool KeyExists64(const std::string& path);
// Empty when the key or the value is missing.
std::optional<TStoredValue> ReadValue64(const std::string& key, const std::string& name);
void WriteValue64(const std::string& key, const std::string& name, const TStoredValue& value);
void CreateKey64(const std::string& path);
void DeleteKey64(const std::string& path);

extern const char* const SCardSvrPath;
extern const char* const SCardDrvPath;
extern const char* const CalaisPath;

// Saves SCardSvr, SCardDrv and Calais (64-bit view) and puts them back at its end. In
// between the test owns them: both service keys are removed at the start, Calais and its
// three sub-keys exist.
class TSmartCardKeys {
 public:
  TSmartCardKeys();
  ~TSmartCardKeys();
  TSmartCardKeys(const TSmartCardKeys&) = delete;
  TSmartCardKeys& operator=(const TSmartCardKeys&) = delete;

  // Creates the key with these values (and nothing else).
  void Service(const std::string& path,
               const std::vector<std::pair<std::string, TStoredValue>>& values);

 private:
  TRegKey FCryptography;  // outlives the restore below
  TRegistryFixture FSaved;
};

// The releases whose service configurations differ, as the program sees them.
enum class TRelease { Win2000, XPSP1, XPSP2, XPSP3, XPx64, Server2003, Server2003x64, Vista,
                      Vistax64, Win7x64, Win10x64 };
TRawWindowsVersion RawVersion(TRelease release);
const char* ReleaseName(TRelease release);

// The trace's texts, without the time stamps.
std::vector<std::string> Texts(const TDiagnosticLog& log);
