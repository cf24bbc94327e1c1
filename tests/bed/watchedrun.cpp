#include "tests/bed/watchedrun.h"

#include <set>

#include "sysutil/handles.h"
#include "tests/bed/files.h"
#include "tests/bed/programs.h"
#include "tests/bed/scratch.h"

namespace {

int GEvents = 0;

void CALLBACK CountEvent(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD, DWORD) {
  if (window && object == OBJID_WINDOW) ++GEvents;
}

struct TPoll {
  DWORD ProcessId;
  std::set<HWND>* Seen;
};

BOOL CALLBACK Collect(HWND window, LPARAM lp) {
  const auto* poll = reinterpret_cast<TPoll*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == poll->ProcessId) poll->Seen->insert(window);
  return TRUE;
}

struct TUnhook {
  void operator()(HWINEVENTHOOK hook) const { UnhookWinEvent(hook); }
};
using TWinEventHook = TOwned<HWINEVENTHOOK, TUnhook, nullptr>;

}  // namespace

TWatchedRun RunWatched(const std::wstring& path, const std::wstring& arguments,
                       DWORD timeoutMs, bool redirectOutput,
                       const std::function<void(DWORD processId)>& meanwhile) {
  TWatchedRun run;
  const TScratchFolder folder(L"watched");
  const std::wstring outputPath = folder.Path() + L"output.txt";
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  THandle output(CreateFileW(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                             CREATE_ALWAYS, 0, nullptr));
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  // Without this flag Wine would hand this process's own standard handles on.
  si.dwFlags = STARTF_USESTDHANDLES;
  if (redirectOutput) si.hStdOutput = si.hStdError = output.Get();
  std::wstring commandLine = L"\"" + path + L"\" " + arguments;
  PROCESS_INFORMATION pi{};
  if (!CreateTestProcess(nullptr, commandLine.data(), redirectOutput, CREATE_SUSPENDED, &si, &pi))
    return run;
  run.Started = true;
  const THandle process(pi.hProcess), thread(pi.hThread);
  output.Reset();

  GEvents = 0;
  const TWinEventHook hook(SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_SHOW, nullptr,
                                           CountEvent, pi.dwProcessId, 0, WINEVENT_OUTOFCONTEXT));
  std::set<HWND> seen;
  TPoll poll{pi.dwProcessId, &seen};
  ResumeThread(pi.hThread);
  const DWORD start = GetTickCount();
  HANDLE wait = process.Get();
  while (MsgWaitForMultipleObjects(1, &wait, FALSE, 10, QS_ALLINPUT) != WAIT_OBJECT_0) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&poll));
    if (meanwhile) meanwhile(pi.dwProcessId);
    if (GetTickCount() - start > timeoutMs) {
      TerminateProcess(process.Get(), STILL_ACTIVE);
      WaitForSingleObject(process.Get(), 5000);
      break;
    }
  }
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  GetExitCodeProcess(process.Get(), &run.ExitCode);
  run.WindowEvents = GEvents;
  run.WindowsSeen = static_cast<int>(seen.size());
  run.Output = ReadFileBytes(outputPath).value_or("");
  return run;
}
