#include "tests/bed/echorecord.h"

#include "sysutil/textconv.h"
#include "tests/bed/files.h"

std::optional<TEchoRecord> WaitForEcho(const std::wstring& path, DWORD timeoutMs) {
  if (!WaitForFile(path, timeoutMs)) return std::nullopt;
  const auto bytes = ReadFileBytes(path);
  if (!bytes) return std::nullopt;
  const std::wstring text = Widen(*bytes);
  const size_t first = text.find(L'\n');
  const size_t second = text.find(L'\n', first + 1);
  const size_t third = text.find(L'\n', second + 1);
  if (third == std::wstring::npos) return std::nullopt;
  return TEchoRecord{text.substr(0, first), text.substr(first + 1, second - first - 1),
                     text.substr(second + 1, third - second - 1)};
}
