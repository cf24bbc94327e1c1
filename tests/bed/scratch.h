#pragma once
// A folder of its own for one test below the system's temporary folder, removed with
// everything in it at the end.
#include <string>

class TScratchFolder {
 public:
  // `name` becomes part of the folder's name; it may hold any character.
  explicit TScratchFolder(const std::wstring& name = L"scratch");
  TScratchFolder(const TScratchFolder&) = delete;
  TScratchFolder& operator=(const TScratchFolder&) = delete;
  ~TScratchFolder();

  // With a trailing backslash.
  const std::wstring& Path() const { return FPath; }

 private:
  std::wstring FPath;
};

// Removes a folder and everything in it; what cannot be removed stays.
void RemoveTree(const std::wstring& folder);
