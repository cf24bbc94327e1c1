#include "app/secondcopy.h"

#include "app/singleinstance.h"
#include "sysutil/systemlibrary.h"

void HandOverToFirstCopy(const TAllowForeground& allow) {
  HWND first = FindWindowW(WizardWindowClass, nullptr);
  if (!first) return;
  // The foreground lock would otherwise leave the first copy flashing in the task bar: the
  // process that the user just started is the one allowed to give the front away.
  DWORD processId = 0;
  GetWindowThreadProcessId(first, &processId);
  if (processId) allow(processId);
  PostMessageW(first, RestoreWizardMessage, 0, 0);
}

void HandOverToFirstCopy() {
  using TAllowSetForegroundWindow = BOOL(WINAPI*)(DWORD);
  // Looked up by name: Windows 95 and NT 4 lack it, and the program must start there to say
  // that it does not run there.
  const auto function =
      LoadedFunction<TAllowSetForegroundWindow>(L"user32.dll", "AllowSetForegroundWindow");
  HandOverToFirstCopy([function](DWORD processId) {
    if (function) function(processId);
  });
}
