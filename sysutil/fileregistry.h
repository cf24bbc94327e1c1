#pragma once
// Read-only settings kept the registry's way in the file system: a key is a folder below an
// application-data folder, a value is a file in it. HKEY_CURRENT_USER keys live below the
// user's application-data folder, keys of every other root below the all-users one.
#include <windows.h>

#include <cstdint>
#include <string>

class TFileRegistry {
 public:
  TFileRegistry();  // root HKEY_CURRENT_USER
  TFileRegistry(const TFileRegistry&) = delete;
  TFileRegistry& operator=(const TFileRegistry&) = delete;
  ~TFileRegistry();

  HKEY RootKey() const { return FRootKey; }
  // A different root closes the open key; the same root keeps it.
  void SetRootKey(HKEY root);

  // The root's folder with a trailing "\" (empty when Windows does not name it, and keys
  // then resolve against the working directory).
  const std::string& BaseFolder() const { return FBaseFolder; }
  // The open key's folder with a trailing "\"; empty when no key is open.
  const std::string& CurrentKeyFolder() const { return FCurrentKeyFolder; }

  void CloseKey();
  // `key` with a leading "\" starts at the root, otherwise at the open key (or the root
  // when none is open). A missing folder is created, parents too, only with `canCreate`.
  // On failure the open key stays as it was.
  bool OpenKey(const std::string& key, bool canCreate);
  bool OpenKeyReadOnly(const std::string& key);
  bool ValueExists(const std::string& name) const;
  // The value file's first four bytes, least significant first; a shorter file fills the
  // low bytes only. 0 when the file cannot be opened.
  std::int32_t ReadInteger(const std::string& name) const;

 private:
  std::string FullPath(const std::string& key) const;

  HKEY FRootKey = nullptr;
  std::string FBaseFolder;
  std::string FCurrentKeyFolder;
};
