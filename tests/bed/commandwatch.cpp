#include "tests/bed/commandwatch.h"

#include <windows.h>

#include <sstream>

#include "sysutil/handles.h"
#include "sysutil/system.h"
#include "sysutil/textconv.h"
#include "tests/bed/files.h"
#include "tests/bed/testbed.h"

namespace {

constexpr wchar_t Variable[] = L"CARDMEND_COMMAND_LOG";
constexpr wchar_t SavedSuffix[] = L".cardmend-saved";

// Only the tool's own value is written and removed: the key holds the test bed's other
// overrides (its WINSCARD.DLL), which must never be away for a moment.
void SetOverride(const std::wstring& tool, bool native) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\DllOverrides", 0, nullptr, 0,
                      KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return;
  const TRegKey owned(key);
  if (!native) {
    RegDeleteValueW(key, tool.c_str());
    return;
  }
  const wchar_t value[] = L"native,builtin";
  RegSetValueExW(key, tool.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value), sizeof(value));
}

}  // namespace

TCommandWatch::TCommandWatch() {
  wchar_t temp[MAX_PATH] = L"";
  GetTempPathW(MAX_PATH, temp);
  FLog = std::wstring(temp) + L"cardmend-commands-" + std::to_wstring(GetCurrentProcessId()) +
         L".log";
  DeleteFileW(FLog.c_str());
  SetEnvironmentVariableW(Variable, FLog.c_str());
  const std::wstring stand = BuildDir() + L"doubles\\systemcommand.exe";
  for (const wchar_t* tool : {L"net.exe", L"regsvr32.exe"}) {
    const std::wstring target = NativeSystemFolder() + tool;
    MoveFileExW(target.c_str(), (target + SavedSuffix).c_str(), MOVEFILE_REPLACE_EXISTING);
    CopyFileW(stand.c_str(), target.c_str(), FALSE);
    FReplaced.push_back(target);
    SetOverride(tool, true);
  }
}

TCommandWatch::~TCommandWatch() {
  for (const std::wstring& target : FReplaced) {
    DeleteFileW(target.c_str());
    MoveFileExW((target + SavedSuffix).c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING);
    SetOverride(target.substr(target.rfind(L'\\') + 1), false);
  }
  SetEnvironmentVariableW(Variable, nullptr);
  DeleteFileW(FLog.c_str());
}

std::vector<TCommandWatch::TCall> TCommandWatch::Calls() const {
  std::vector<TCall> calls;
  std::istringstream lines(ReadFileBytes(FLog).value_or(""));
  for (std::string line; std::getline(lines, line);) {
    const std::wstring text = Widen(line);
    const size_t first = text.find(L'\t'), last = text.rfind(L'\t');
    if (first == std::wstring::npos || last == first) continue;
    calls.push_back({text.substr(0, first), text.substr(first + 1, last - first - 1),
                     text.substr(last + 1)});
  }
  return calls;
}
