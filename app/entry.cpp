#include <windows.h>

#include "app/commandline.h"
#include "app/secondcopy.h"
#include "app/singleinstance.h"
#include "app/texts.h"
#include "app/unattended.h"
#include "app/wizard/mainform.h"
#include "controls/vexdesign.h"
#include "sysutil/handles.h"
#include "sysutil/windowsversion.h"
#include "ui/application.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, wchar_t*, int) {
  const TCommandLine line = ParseCommandLine(SplitCommandLine(GetCommandLineW()));
  if (line.Mode != TRunMode::Wizard) {
    InitWindowsVersion();
    ChooseLanguage();
    return RunUnattended(line);
  }
  THandle mutex(CreateMutexW(nullptr, FALSE, ProgramMutexName));
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    HandOverToFirstCopy();
    return 0;
  }
  // The version record is read once, before any window exists; everything later asks it.
  InitWindowsVersion();
  DesignStart();
  ChooseLanguage();
  {
    TCardmendMainForm form;
    form.Show();
    Application().Run();
  }
  DesignEnd();
  return 0;
}
