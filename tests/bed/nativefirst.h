#pragma once
// While it lives, Wine loads the named libraries or programs (such as L"version", without
// ".dll", or L"net.exe") from a file it finds before its own built-in copy, as Windows loads whatever
// file it finds first. Only the names' own overrides are written and put back: the key holds
// the test bed's other overrides (its WINSCARD.DLL), which must never be away for a moment.
#include <optional>
#include <string>
#include <utility>
#include <vector>

class TNativeFirst {
 public:
  explicit TNativeFirst(const std::vector<std::wstring>& names);
  ~TNativeFirst();
  TNativeFirst(const TNativeFirst&) = delete;
  TNativeFirst& operator=(const TNativeFirst&) = delete;

 private:
  std::vector<std::pair<std::wstring, std::optional<std::wstring>>> FSaved;
};
