// The test bed's stand-in for the Windows tools the repair starts from the System folder,
// installed as net.exe and regsvr32.exe while a test watches the commands. It records how
// it was started (commandlog.h), then does what the tool does to the simulated subsystem:
// as net, "start NAME" and "stop NAME [/yes]" start and stop the service through the
// service manager (Wine's own net knows no "/yes"); as regsvr32 it takes a moment, as a
// registration does, records its end and answers, so a test sees whether its starter
// waited for it.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

#include "tests/doubles/commands/commandlog.h"

namespace {

struct TService {
  SC_HANDLE Manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
  SC_HANDLE Service = nullptr;
  explicit TService(const std::wstring& name) {
    if (Manager)
      Service = OpenServiceW(Manager, name.c_str(), SERVICE_START | SERVICE_STOP | SERVICE_QUERY_STATUS);
  }
  ~TService() {
    if (Service) CloseServiceHandle(Service);
    if (Manager) CloseServiceHandle(Manager);
  }
  bool WaitFor(DWORD state) const {
    for (int i = 0; i < 100; ++i) {
      SERVICE_STATUS status{};
      if (!QueryServiceStatus(Service, &status)) return false;
      if (status.dwCurrentState == state) return true;
      Sleep(50);
    }
    return false;
  }
};

int Net(int argc, wchar_t** argv) {
  if (argc < 3) return 1;
  const std::wstring verb = argv[1];
  const TService service(argv[2]);
  if (!service.Service) return 2;
  if (verb == L"start")
    return StartServiceW(service.Service, 0, nullptr) && service.WaitFor(SERVICE_RUNNING) ? 0 : 2;
  if (verb == L"stop") {
    SERVICE_STATUS status{};
    ControlService(service.Service, SERVICE_CONTROL_STOP, &status);
    return service.WaitFor(SERVICE_STOPPED) ? 0 : 2;
  }
  return 1;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  RecordCommand();
  wchar_t path[MAX_PATH] = L"";
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  const std::wstring name = path;
  if (_wcsicmp(name.substr(name.find_last_of(L'\\') + 1).c_str(), L"net.exe") != 0) {
    Sleep(700);
    RecordEnd();
    return 0;
  }
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  const int result = argv ? Net(argc, argv) : 1;
  LocalFree(argv);
  return result;
}
