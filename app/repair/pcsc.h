#pragma once
// The PC/SC layer as applications reach it: WINSCARD.DLL, loaded at run time from the
// System folder so that a missing or planted library cannot hurt.
#include <windows.h>

#include "sysutil/handles.h"

class TDiagnosticLog;

class TPCSCLibrary {
 public:
  static constexpr LONG NoReadersAvailable = static_cast<LONG>(0x8010002E);

  // Does nothing when already loaded; stays unloaded unless all three entries are there.
  void Load();
  void Free();
  bool Loaded() const { return static_cast<bool>(FModule); }

  // The quiet test of the status line: a context can be established in the user scope and
  // then in the system scope.
  bool Responds() const;
  // The traced test of the repair run: both scopes answer and the readers can be listed
  // (none attached counts as working). False without calling in when not loaded.
  bool Check(TDiagnosticLog& log) const;

 private:
  using TContext = ULONG_PTR;
  using TEstablish = LONG(WINAPI*)(DWORD, const void*, const void*, TContext*);
  using TRelease = LONG(WINAPI*)(TContext);
  using TListReaders = LONG(WINAPI*)(TContext, const char*, char*, DWORD*);
  static constexpr DWORD UserScope = 0;
  static constexpr DWORD SystemScope = 2;

  bool CheckSystemScope(TDiagnosticLog& log) const;

  TModule FModule;
  TEstablish FEstablish = nullptr;
  TRelease FRelease = nullptr;
  TListReaders FListReaders = nullptr;
};
