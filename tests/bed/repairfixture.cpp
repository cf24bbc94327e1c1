#include "tests/bed/repairfixture.h"

#include <shlwapi.h>

#include <stdexcept>

#include "sysutil/handles.h"
#include "sysutil/textconv.h"
#include "tests/bed/knownwindows.h"

const char* const SCardSvrPath = "SYSTEM\\CurrentControlSet\\Services\\SCardSvr";
const char* const SCardDrvPath = "SYSTEM\\CurrentControlSet\\Services\\SCardDrv";
const char* const CalaisPath = "Software\\Microsoft\\Cryptography\\Calais";

void PrintTo(const TStoredValue& value, std::ostream* out) {
  *out << "type " << value.Type << ":";
  if (value.Type == REG_DWORD && value.Data.size() == 4) {
    *out << " " << *reinterpret_cast<const DWORD*>(value.Data.data());
    return;
  }
  if (value.Type == REG_SZ || value.Type == REG_EXPAND_SZ || value.Type == REG_MULTI_SZ) {
    std::wstring text(value.Data.size() / 2, L'\0');
    memcpy(text.data(), value.Data.data(), text.size() * 2);
    for (wchar_t& c : text)
      if (c == L'\0') c = L'|';
    *out << " \"" << Narrow(text) << "\"";
    return;
  }
  for (BYTE b : value.Data) *out << " " << int(b);
}

namespace {

TStoredValue Text(DWORD type, const std::wstring& text) {
  TStoredValue value{type, {}};
  const BYTE* bytes = reinterpret_cast<const BYTE*>(text.c_str());
  value.Data.assign(bytes, bytes + (text.size() + 1) * sizeof(wchar_t));
  return value;
}

}  // namespace

TStoredValue Sz(const std::string& text) { return Text(REG_SZ, Widen(text)); }
TStoredValue ExpandSz(const std::string& text) { return Text(REG_EXPAND_SZ, Widen(text)); }
TStoredValue MultiSz(const std::vector<std::string>& items) {
  std::wstring list;
  for (const std::string& item : items) list += Widen(item) + L'\0';
  return Text(REG_MULTI_SZ, list);  // Text adds the list's closing NUL
}
TStoredValue Dword(DWORD number) {
  const BYTE* bytes = reinterpret_cast<const BYTE*>(&number);
  return {REG_DWORD, std::vector<BYTE>(bytes, bytes + 4)};
}
TStoredValue Binary(std::vector<BYTE> bytes) { return {REG_BINARY, std::move(bytes)}; }

HKEY OpenKey64(const std::string& path, REGSAM access) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, Widen(path).c_str(), 0, access | KEY_WOW64_64KEY,
                    &key) != ERROR_SUCCESS)
    return nullptr;
  return key;
}

bool KeyExists64(const std::string& path) { return TRegKey(OpenKey64(path)).Get() != nullptr; }

std::optional<TStoredValue> ReadValue64(const std::string& key, const std::string& name) {
  const TRegKey opened(OpenKey64(key));
  if (!opened) return std::nullopt;
  const std::wstring wideName = Widen(name);
  TStoredValue value;
  DWORD size = 0;
  if (RegQueryValueExW(opened.Get(), wideName.c_str(), nullptr, &value.Type, nullptr, &size) !=
      ERROR_SUCCESS)
    return std::nullopt;
  value.Data.resize(size);
  RegQueryValueExW(opened.Get(), wideName.c_str(), nullptr, &value.Type, value.Data.data(), &size);
  value.Data.resize(size);
  return value;
}

void CreateKey64(const std::string& path) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, Widen(path).c_str(), 0, nullptr, 0,
                      KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr, &key, nullptr) != ERROR_SUCCESS)
    throw std::runtime_error("cannot create " + path);
  RegCloseKey(key);
}

void WriteValue64(const std::string& key, const std::string& name, const TStoredValue& value) {
  CreateKey64(key);
  const TRegKey opened(OpenKey64(key, KEY_ALL_ACCESS));
  RegSetValueExW(opened.Get(), Widen(name).c_str(), 0, value.Type, value.Data.data(),
                 static_cast<DWORD>(value.Data.size()));
}

void DeleteKey64(const std::string& path) {
  const size_t slash = path.rfind('\\');
  const TRegKey parent(OpenKey64(path.substr(0, slash), KEY_ALL_ACCESS));
  if (parent) SHDeleteKeyW(parent.Get(), Widen(path.substr(slash + 1)).c_str());
}

TSmartCardKeys::TSmartCardKeys() {
  CreateKey64(CalaisPath);
  FCryptography.Reset(OpenKey64("Software\\Microsoft\\Cryptography", KEY_ALL_ACCESS));
  // Below a 64-bit handle the fixture's paths stay in the 64-bit view.
  FSaved.RemoveKey(FCryptography.Get(), L"Calais");
  FSaved.RemoveKey(HKEY_LOCAL_MACHINE, Widen(SCardSvrPath));
  FSaved.RemoveKey(HKEY_LOCAL_MACHINE, Widen(SCardDrvPath));
  for (const char* sub : {"Current", "Readers", "SmartCards"})
    CreateKey64(std::string(CalaisPath) + "\\" + sub);
}

TSmartCardKeys::~TSmartCardKeys() = default;

void TSmartCardKeys::Service(const std::string& path,
                             const std::vector<std::pair<std::string, TStoredValue>>& values) {
  DeleteKey64(path);
  CreateKey64(path);
  for (const auto& [name, value] : values) WriteValue64(path, name, value);
}

TRawWindowsVersion RawVersion(TRelease release) {
  switch (release) {
    case TRelease::Win2000: return KnownWindows(TKnownWindows::Win2000SP4);
    case TRelease::XPSP1: {
      TRawWindowsVersion raw = KnownWindows(TKnownWindows::XPSP2);
      raw.ServicePackMajor = 1;
      raw.CSDVersion = "Service Pack 1";
      return raw;
    }
    case TRelease::XPSP2: return KnownWindows(TKnownWindows::XPSP2);
    case TRelease::XPSP3: return KnownWindows(TKnownWindows::XPSP3);
    case TRelease::XPx64: return KnownWindows(TKnownWindows::XPx64SP2);
    case TRelease::Server2003: return KnownWindows(TKnownWindows::Server2003SP2);
    case TRelease::Server2003x64: return KnownWindows(TKnownWindows::Server2003x64SP2);
    case TRelease::Vista: return KnownWindows(TKnownWindows::VistaSP2);
    case TRelease::Vistax64: return KnownWindows(TKnownWindows::Vistax64SP2);
    case TRelease::Win7x64: return KnownWindows(TKnownWindows::Win7x64SP1);
    case TRelease::Win10x64: {
      // What Windows 8 to 11 report to a program that does not declare them.
      TRawWindowsVersion raw = KnownWindows(TKnownWindows::Win7x64SP1);
      raw.Minor = 2;
      raw.Build = 9200;
      raw.ServicePackMajor = 0;
      raw.CSDVersion.clear();
      return raw;
    }
  }
  return {};
}

const char* ReleaseName(TRelease release) {
  switch (release) {
    case TRelease::Win2000: return "Win2000";
    case TRelease::XPSP1: return "XPSP1";
    case TRelease::XPSP2: return "XPSP2";
    case TRelease::XPSP3: return "XPSP3";
    case TRelease::XPx64: return "XPx64";
    case TRelease::Server2003: return "Server2003";
    case TRelease::Server2003x64: return "Server2003x64";
    case TRelease::Vista: return "Vista";
    case TRelease::Vistax64: return "Vistax64";
    case TRelease::Win7x64: return "Win7x64";
    case TRelease::Win10x64: return "Win10x64";
  }
  return "?";
}

std::vector<std::string> Texts(const TDiagnosticLog& log) {
  std::vector<std::string> texts;
  for (const std::string& line : log.Lines()) texts.push_back(line.substr(14));
  return texts;
}
