#include "app/repair/logfile.h"

#include "sysutil/textconv.h"

DWORD TLogFile::Open(const std::wstring& path) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetLastError();
  FFile.Reset(file);
  return ERROR_SUCCESS;
}

void TLogFile::WriteLine(std::string_view line) const {
  if (!FFile) return;
  const std::string text = ToAnsi(line) + "\r\n";
  DWORD written = 0;
  WriteFile(FFile.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}
