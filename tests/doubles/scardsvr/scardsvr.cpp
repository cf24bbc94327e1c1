// The test bed's SCardSvr: a service that does nothing but run until it is stopped, so that
// the service manager's rules (start type, account, registration) decide whether it runs.
//   SCardSvr.exe            run as the service (only the service manager starts it so)
//   SCardSvr.exe reinstall  register the service again when it is missing
//   SCardSvr.exe install    register it with the healthy configuration, whatever was there,
//                           and create the Calais keys
#include <windows.h>

#include <string>

#include "tests/doubles/scardsvr/registration.h"

namespace {

SERVICE_STATUS_HANDLE StatusHandle = nullptr;
SERVICE_STATUS Status{};
HANDLE StopEvent = nullptr;

void Report(DWORD state) {
  Status.dwServiceType = SERVICE_WIN32;
  Status.dwCurrentState = state;
  Status.dwControlsAccepted =
      state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN : 0;
  Status.dwWin32ExitCode = NO_ERROR;
  SetServiceStatus(StatusHandle, &Status);
}

DWORD WINAPI Handler(DWORD control, DWORD, void*, void*) {
  switch (control) {
    case SERVICE_CONTROL_STOP:
    case SERVICE_CONTROL_SHUTDOWN:
      Report(SERVICE_STOP_PENDING);
      SetEvent(StopEvent);
      return NO_ERROR;
    case SERVICE_CONTROL_INTERROGATE:
      SetServiceStatus(StatusHandle, &Status);
      return NO_ERROR;
    default:
      return ERROR_CALL_NOT_IMPLEMENTED;
  }
}

void WINAPI ServiceMain(DWORD, wchar_t**) {
  StatusHandle = RegisterServiceCtrlHandlerExW(L"SCardSvr", &Handler, nullptr);
  if (!StatusHandle) return;
  const THandle stop(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  StopEvent = stop.Get();
  Report(SERVICE_RUNNING);
  WaitForSingleObject(StopEvent, INFINITE);
  Report(SERVICE_STOPPED);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (command == L"reinstall") return static_cast<int>(RegisterSCardSvrIfMissing(HealthyConfig()));
  if (command == L"install") {
    const DWORD calais = CreateCalaisKeys();
    return static_cast<int>(calais != ERROR_SUCCESS ? calais : RegisterSCardSvr(HealthyConfig()));
  }
  wchar_t name[] = L"SCardSvr";
  const SERVICE_TABLE_ENTRYW table[] = {{name, &ServiceMain}, {nullptr, nullptr}};
  return StartServiceCtrlDispatcherW(table) ? 0 : static_cast<int>(GetLastError());
}
