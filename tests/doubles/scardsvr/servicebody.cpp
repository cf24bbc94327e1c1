#include "tests/doubles/scardsvr/servicebody.h"

#include "sysutil/handles.h"

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

}  // namespace

void WINAPI SCardSvrServiceMain(DWORD, wchar_t**) {
  StatusHandle = RegisterServiceCtrlHandlerExW(L"SCardSvr", &Handler, nullptr);
  if (!StatusHandle) return;
  const THandle stop(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  StopEvent = stop.Get();
  Report(SERVICE_RUNNING);
  WaitForSingleObject(StopEvent, INFINITE);
  Report(SERVICE_STOPPED);
}
