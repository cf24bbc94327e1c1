#pragma once
// Settings folders below the real application-data folders of the test prefix.
#include <string>
#include <vector>

// The user's and the all-users application-data folders, with a trailing "\", as the
// environment names them (independent of the folder query under test).
std::wstring UserAppData();
std::wstring CommonAppData();

// The folder `base` + `key` for one test: created on demand, and at the end the folders
// of that path that were missing at the start go again with all they hold.
class TSettingsFolder {
 public:
  TSettingsFolder(const std::wstring& base, const std::wstring& key);
  TSettingsFolder(const TSettingsFolder&) = delete;
  TSettingsFolder& operator=(const TSettingsFolder&) = delete;
  ~TSettingsFolder();

  // With a trailing "\".
  const std::wstring& Path() const { return FPath; }
  // Creates the folder with its missing parents.
  void Create() const;
  // Creates the folder and writes the value file `name` holding `bytes`.
  void WriteValue(const std::wstring& name, const std::string& bytes) const;

 private:
  std::wstring FPath;
  std::wstring FFirstMissing;  // empty when the whole path existed
  mutable std::vector<std::wstring> FFiles;  // written into folders that existed before
};
