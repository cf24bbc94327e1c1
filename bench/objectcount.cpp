// objectcount [ROUNDS]: the wizard window made in this process, and its GDI and USER
// objects before and after ROUNDS (50) switches of the language and ROUNDS information
// hints opened and closed. One switch and one hint come first, untimed and uncounted, so
// that what is made once and kept (fonts of the cache, the hint's pictures) is in both
// counts. Prints "gdi BEFORE AFTER", "user BEFORE AFTER" and "counted-by HOW".
//
// Wine answers GetGuiResources with 0. There the GDI count is read off Wine's handle
// allocator: the program makes many brushes at once, which take the free slots first and
// then new ones, so the highest slot index it gets grows by exactly the objects that stayed
// alive meanwhile. The USER count is then the process's windows.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <vector>

#include "app/texts.h"
#include "app/wizard/mainform.h"
#include "bench/startchecks.h"
#include "controls/vexdesign.h"
#include "ui/application.h"
#include "ui/timer.h"

namespace {

int GdiSlotsInUse() {
  constexpr int Probe = 4000;
  std::vector<HBRUSH> brushes;
  int highest = 0;
  for (int i = 0; i < Probe; ++i) {
    brushes.push_back(CreateSolidBrush(RGB(i & 0xFF, 0, 0)));
    highest = std::max(highest, static_cast<int>(reinterpret_cast<UINT_PTR>(brushes.back()) & 0xFFFF));
  }
  for (HBRUSH b : brushes) DeleteObject(b);
  return highest - Probe;
}

BOOL CALLBACK CountChild(HWND, LPARAM lp) {
  ++*reinterpret_cast<int*>(lp);
  return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND h, LPARAM lp) {
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  if (pid != GetCurrentProcessId()) return TRUE;
  ++*reinterpret_cast<int*>(lp);
  EnumChildWindows(h, &CountChild, lp);
  return TRUE;
}

struct TCounts {
  int Gdi, User;
};

bool GuiResourcesAnswer() { return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS) > 0; }

TCounts Count() {
  if (GuiResourcesAnswer())
    return {static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)),
            static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS))};
  int windows = 0;
  EnumWindows(&CountTopLevel, reinterpret_cast<LPARAM>(&windows));
  return {GdiSlotsInUse(), windows};
}

void Rounds(TCardmendMainForm& form, int rounds) {
  // Closes each hint from inside its own loop, as Escape from the user would.
  TTimer closer;
  closer.SetInterval(20);
  closer.OnTimer = [] {
    if (HWND hint = FindWindowW(L"TVEXHintForm", nullptr); hint && IsWindowVisible(hint))
      PostMessageW(hint, WM_KEYDOWN, VK_ESCAPE, 1);
  };
  closer.SetEnabled(true);
  for (int i = 0; i < rounds; ++i) {
    form.LangLabelLinkCallBack();
    Application().ProcessMessages();
    form.WinInfoLabelLinkCallBack();
  }
  Application().ProcessMessages();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 50;
  DesignStart();
  int status = 0;
  {
    TCardmendMainForm form;
    form.Show();
    AwaitStartChecks(form);
    Rounds(form, 2);  // an even number keeps the language
    const TCounts before = Count();
    Rounds(form, rounds);
    const TCounts after = Count();
    std::printf("gdi %d %d\nuser %d %d\ncounted-by %s\n", before.Gdi, after.Gdi, before.User,
                after.User, GuiResourcesAnswer() ? "GetGuiResources" : "handle-slots+windows");
    status = after.Gdi > before.Gdi || after.User > before.User;
  }
  DesignEnd();
  return status;
}
