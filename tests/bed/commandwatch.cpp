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

}  // namespace

TCommandWatch::TCommandWatch() : FNativeTools({L"net.exe", L"regsvr32.exe"}) {
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
  }
}

TCommandWatch::~TCommandWatch() {
  for (const std::wstring& target : FReplaced) {
    DeleteFileW(target.c_str());
    MoveFileExW((target + SavedSuffix).c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING);
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
    const std::wstring program = text.substr(0, first), show = text.substr(last + 1);
    if (show == L"ended" && last == first + 1) {
      if (!calls.empty() && calls.back().Program == program) calls.back().Ended = true;
      continue;
    }
    calls.push_back({program, text.substr(first + 1, last - first - 1), show});
  }
  return calls;
}
