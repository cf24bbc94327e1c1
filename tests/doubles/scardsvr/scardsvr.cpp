// The test bed's SCardSvr: a service that does nothing but run until it is stopped, so that
// the service manager's rules (start type, registration) decide whether it runs.
//   SCardSvr.exe            run as the service (only the service manager starts it so)
//   SCardSvr.exe reinstall  register the service again when it is missing
//   SCardSvr.exe install    register it with the healthy configuration, whatever was there,
//                           and create the Calais keys
#include <windows.h>

#include <string>

#include "tests/doubles/commands/commandlog.h"
#include "tests/doubles/scardsvr/registration.h"
#include "tests/doubles/scardsvr/servicebody.h"

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (!command.empty()) RecordCommand();
  if (command == L"reinstall") return static_cast<int>(RegisterSCardSvrIfMissing(HealthyConfig()));
  if (command == L"install") {
    const DWORD calais = CreateCalaisKeys();
    return static_cast<int>(calais != ERROR_SUCCESS ? calais : RegisterSCardSvr(HealthyConfig()));
  }
  wchar_t name[] = L"SCardSvr";
  const SERVICE_TABLE_ENTRYW table[] = {{name, &SCardSvrServiceMain}, {nullptr, nullptr}};
  return StartServiceCtrlDispatcherW(table) ? 0 : static_cast<int>(GetLastError());
}
