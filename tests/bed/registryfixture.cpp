#include "tests/bed/registryfixture.h"

#include <shlwapi.h>

#include <stdexcept>

#include "sysutil/handles.h"

namespace {

using TTree = TRegistryFixture::TTree;

TRegKey OpenKey(HKEY root, const std::wstring& key, REGSAM access = KEY_READ) {
  HKEY raw = nullptr;
  if (RegOpenKeyExW(root, key.c_str(), 0, access, &raw) != ERROR_SUCCESS) return TRegKey();
  return TRegKey(raw);
}

TRegKey CreateKey(HKEY root, const std::wstring& key) {
  HKEY raw = nullptr;
  if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &raw,
                      nullptr) != ERROR_SUCCESS)
    throw std::runtime_error("registry fixture: cannot create a key");
  return TRegKey(raw);
}

TTree Capture(HKEY key, const std::wstring& name) {
  TTree tree{name, {}, {}};
  DWORD maxKey = 0, maxName = 0, maxData = 0;
  RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, &maxKey, nullptr, nullptr,
                   &maxName, &maxData, nullptr, nullptr);
  for (DWORD i = 0;; ++i) {
    TRegistryFixture::TValue value;
    value.Name.resize(maxName + 1);
    value.Data.resize(maxData);
    DWORD nameLength = maxName + 1, dataSize = maxData;
    if (RegEnumValueW(key, i, value.Name.data(), &nameLength, nullptr, &value.Type,
                      value.Data.data(), &dataSize) != ERROR_SUCCESS)
      break;
    value.Name.resize(nameLength);
    value.Data.resize(dataSize);
    tree.Values.push_back(std::move(value));
  }
  for (DWORD i = 0;; ++i) {
    std::wstring subName(maxKey + 1, L'\0');
    DWORD length = maxKey + 1;
    if (RegEnumKeyExW(key, i, subName.data(), &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    subName.resize(length);
    if (const TRegKey sub = OpenKey(key, subName)) tree.SubKeys.push_back(Capture(sub.Get(), subName));
  }
  return tree;
}

void Rebuild(HKEY root, const std::wstring& key, const TTree& tree) {
  const TRegKey created = CreateKey(root, key);
  for (const auto& value : tree.Values)
    RegSetValueExW(created.Get(), value.Name.c_str(), 0, value.Type, value.Data.data(),
                   static_cast<DWORD>(value.Data.size()));
  for (const auto& sub : tree.SubKeys) Rebuild(created.Get(), sub.Name, sub);
}

}  // namespace

TRegistryFixture::~TRegistryFixture() {
  for (auto it = FSaved.rbegin(); it != FSaved.rend(); ++it) {
    SHDeleteKeyW(it->Root, it->Key.c_str());
    if (it->Existed) Rebuild(it->Root, it->Key, it->Tree);
  }
}

// Keeps the whole tree of `key` when it exists; otherwise notes its first missing
// ancestor, which the restore deletes.
void TRegistryFixture::Remember(HKEY root, const std::wstring& key) {
  for (size_t end = key.find(L'\\'); ; end = key.find(L'\\', end + 1)) {
    const std::wstring part = key.substr(0, end);
    if (!OpenKey(root, part)) {
      FSaved.push_back({root, part, false, {}});
      return;
    }
    if (end == std::wstring::npos) break;
  }
  FSaved.push_back({root, key, true, Capture(OpenKey(root, key).Get(), key)});
}

void TRegistryFixture::SetString(HKEY root, const std::wstring& key, const std::wstring& name,
                                 const std::wstring& value) {
  SetRawString(root, key, name,
               std::string(reinterpret_cast<const char*>(value.c_str()),
                           (value.size() + 1) * sizeof(wchar_t)));
}

void TRegistryFixture::SetRawString(HKEY root, const std::wstring& key, const std::wstring& name,
                                    const std::string& bytes) {
  Remember(root, key);
  const TRegKey created = CreateKey(root, key);
  RegSetValueExW(created.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(bytes.data()),
                 static_cast<DWORD>(bytes.size()));
}

void TRegistryFixture::RemoveKey(HKEY root, const std::wstring& key) {
  Remember(root, key);
  SHDeleteKeyW(root, key.c_str());
}
