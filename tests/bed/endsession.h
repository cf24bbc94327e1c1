#pragma once
// A window of the test process that hears when Windows is asked to end the session, as
// every open program does before a restart, and can refuse like a program with unsaved work.
#include <windows.h>

class TEndSessionWatcher {
 public:
  explicit TEndSessionWatcher(bool refuse);
  TEndSessionWatcher(const TEndSessionWatcher&) = delete;
  TEndSessionWatcher& operator=(const TEndSessionWatcher&) = delete;
  ~TEndSessionWatcher();

  int Queries() const { return FQueries; }
  // Handles this thread's messages (the question arrives as a sent message) for `ms`.
  void Pump(DWORD ms);

 private:
  static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp);

  HWND FHandle = nullptr;
  bool FRefuse;
  int FQueries = 0;
};
