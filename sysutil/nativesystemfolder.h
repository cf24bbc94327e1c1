#pragma once
// While it lives, the thread's file calls reach the native System folder of 64-bit Windows,
// not the 32-bit one that a 32-bit program is redirected to. Keep it short: a file opened
// meanwhile by anything else of the program is looked up the native way too. Nothing
// changes on 32-bit Windows and where the functions are missing (looked up by name).
#include <windows.h>

class TNativeSystemFolder {
 public:
  TNativeSystemFolder();
  ~TNativeSystemFolder();
  TNativeSystemFolder(const TNativeSystemFolder&) = delete;
  TNativeSystemFolder& operator=(const TNativeSystemFolder&) = delete;

  // The redirection was switched off and will be switched back on.
  bool Active() const { return FActive; }

 private:
  void* FOldValue = nullptr;
  bool FActive = false;
};
