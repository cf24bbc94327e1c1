#pragma once
// Changes registry keys for one test and puts back what was there before at its end.
#include <windows.h>

#include <string>
#include <vector>

class TRegistryFixture {
 public:
  TRegistryFixture() = default;
  TRegistryFixture(const TRegistryFixture&) = delete;
  TRegistryFixture& operator=(const TRegistryFixture&) = delete;
  ~TRegistryFixture();  // restores in reverse order of the changes

  // Creates the key when needed; an empty `name` is the key's default value.
  void SetString(HKEY root, const std::wstring& key, const std::wstring& name,
                 const std::wstring& value);
  // A REG_SZ of exactly these bytes, as any program may store one: an odd length, no
  // terminator, NULs inside.
  void SetRawString(HKEY root, const std::wstring& key, const std::wstring& name,
                    const std::string& bytes);
  void RemoveKey(HKEY root, const std::wstring& key);

  struct TValue {
    std::wstring Name;
    DWORD Type = 0;
    std::vector<BYTE> Data;
  };
  struct TTree {
    std::wstring Name;
    std::vector<TValue> Values;
    std::vector<TTree> SubKeys;
  };

 private:
  struct TSaved {
    HKEY Root;
    std::wstring Key;  // deleted at the end, then rebuilt from Tree when it existed
    bool Existed;
    TTree Tree;
  };
  void Remember(HKEY root, const std::wstring& key);

  std::vector<TSaved> FSaved;
};
