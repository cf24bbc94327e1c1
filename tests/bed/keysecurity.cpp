#include "tests/bed/keysecurity.h"

#include <aclapi.h>
#include <sddl.h>

#include <memory>

#include "sysutil/handles.h"
#include "sysutil/registryaccess.h"
#include "sysutil/security.h"
#include "sysutil/textconv.h"

namespace {

constexpr SECURITY_INFORMATION OwnerAndDacl =
    OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;

TRegKey OpenKey(HKEY parent, const std::string& path, REGSAM access,
                REGSAM view = KEY_WOW64_64KEY) {
  HKEY raw = nullptr;
  // The W call: Wine's A calls refuse paths longer than MAX_PATH, which deep trees reach.
  if (RegOpenKeyExW(parent, Widen(path).c_str(), 0, access | view, &raw) != ERROR_SUCCESS)
    return TRegKey();
  return TRegKey(raw);
}

std::string SidText(PSID sid) {
  if (!sid) return "(none)";
  char* text = nullptr;
  if (!ConvertSidToStringSidA(sid, &text)) return "(bad)";
  std::string result = text;
  LocalFree(text);
  return result;
}


// Opens up the DACL of every key of the tree the token may own or write.
void OpenUp(const std::string& path) {
  TakeOwnership(HKEY_LOCAL_MACHINE, path, false);
  if (const TRegKey key = OpenKey(HKEY_LOCAL_MACHINE, path, WRITE_DAC)) {
    SECURITY_DESCRIPTOR open;
    InitializeSecurityDescriptor(&open, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&open, TRUE, nullptr, FALSE);
    RegSetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, &open);
  }
  const TRegKey key = OpenKey(HKEY_LOCAL_MACHINE, path, KEY_READ);
  if (!key) return;
  for (const std::string& sub : RegSubKeyNames(key.Get())) OpenUp(path + "\\" + sub);
}

THandle ProcessToken() {
  HANDLE raw = nullptr;
  OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &raw);
  return THandle(raw);
}

}  // namespace

TSidValue::TSidValue(const char* text) {
  if (!ConvertStringSidToSidA(text, &FSid)) FSid = nullptr;
}

TSidValue::~TSidValue() { LocalFree(FSid); }

TDescriptor::TDescriptor(const char* owner, const std::vector<TAce>& entries) {
  InitializeSecurityDescriptor(&FDescriptor, SECURITY_DESCRIPTOR_REVISION);
  const PACL acl = reinterpret_cast<PACL>(FAcl.data());
  InitializeAcl(acl, static_cast<DWORD>(FAcl.size() * sizeof(DWORD)), ACL_REVISION);
  for (const TAce& e : entries) {
    const PSID sid = FSids.emplace_back(std::make_unique<TSidValue>(e.Sid.c_str()))->Get();
    const bool added = e.Type == ACCESS_ALLOWED_ACE_TYPE
                           ? AddAccessAllowedAceEx(acl, ACL_REVISION, e.Flags, e.Mask, sid)
                           : AddAccessDeniedAceEx(acl, ACL_REVISION, e.Flags, e.Mask, sid);
    FComplete = FComplete && added;
  }
  SetSecurityDescriptorDacl(&FDescriptor, TRUE, acl, FALSE);
  if (owner) {
    const PSID sid = FSids.emplace_back(std::make_unique<TSidValue>(owner))->Get();
    FComplete = FComplete && sid && SetSecurityDescriptorOwner(&FDescriptor, sid, FALSE);
  }
}

void PrintTo(const TAce& ace, std::ostream* out) {
  *out << int(ace.Type) << " " << int(ace.Flags) << " " << std::hex << ace.Mask << std::dec
       << " " << ace.Sid;
}

TKeySecurity ReadKeySecurity(const std::string& path, REGSAM view) {
  const TRegKey key = OpenKey(HKEY_LOCAL_MACHINE, path, READ_CONTROL, view);
  if (!key) return {"(no key)", {}};
  PSID owner = nullptr;
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetSecurityInfo(key.Get(), SE_REGISTRY_KEY, OwnerAndDacl, &owner, nullptr, &dacl, nullptr,
                      &descriptor) != ERROR_SUCCESS)
    return {"(unreadable)", {}};
  TKeySecurity security{SidText(owner), {}};
  for (DWORD i = 0; dacl && i < dacl->AceCount; ++i) {
    ACE_HEADER* header = nullptr;
    GetAce(dacl, i, reinterpret_cast<void**>(&header));
    // Allowed and denied entries share one layout.
    const auto* ace = reinterpret_cast<ACCESS_ALLOWED_ACE*>(header);
    security.Dacl.push_back({header->AceType, header->AceFlags, ace->Mask,
                             SidText(const_cast<DWORD*>(&ace->SidStart))});
  }
  LocalFree(descriptor);
  return security;
}

bool WriteKeySecurity(const std::string& path, const char* owner, const std::vector<TAce>& dacl,
                      REGSAM view) {
  const TRegKey key =
      OpenKey(HKEY_LOCAL_MACHINE, path, (owner ? WRITE_OWNER : 0) | WRITE_DAC, view);
  if (!key) return false;
  TDescriptor descriptor(owner, dacl);
  if (!descriptor.Complete()) return false;
  return RegSetKeySecurity(key.Get(), (owner ? OWNER_SECURITY_INFORMATION : 0) |
                                          DACL_SECURITY_INFORMATION,
                           descriptor.Get()) == ERROR_SUCCESS;
}

bool WriteKeyOwner(const std::string& path, const char* owner, REGSAM view) {
  const TRegKey key = OpenKey(HKEY_LOCAL_MACHINE, path, WRITE_OWNER, view);
  if (!key) return false;
  TDescriptor descriptor(owner, {});
  return descriptor.Complete() &&
         RegSetKeySecurity(key.Get(), OWNER_SECURITY_INFORMATION, descriptor.Get()) == ERROR_SUCCESS;
}

bool KeyExists(const std::string& path) {
  return static_cast<bool>(OpenKey(HKEY_LOCAL_MACHINE, path, KEY_READ));
}

void ForceDeleteKey(const std::string& path) {
  OpenUp(path);
  DeleteRegKeyTree(HKEY_LOCAL_MACHINE, path);
}

TPrivilegeScope::TPrivilegeScope(const char* name) : FName(name) {
  SetPrivilege(ProcessToken().Get(), FName, true);
}

TPrivilegeScope::~TPrivilegeScope() { SetPrivilege(ProcessToken().Get(), FName, false); }

TKeySecurityKeeper::TKeySecurityKeeper(const std::string& top,
                                       const std::vector<std::string>& extra) {
  for (const std::string& path : [&] {
         std::vector<std::string> all{top};
         for (const std::string& sub : extra) all.push_back(top + "\\" + sub);
         return all;
       }()) {
    if (KeyExists(path)) continue;
    std::string missing = path;  // its first missing ancestor goes at the end
    for (size_t end = path.find('\\'); end != std::string::npos; end = path.find('\\', end + 1))
      if (!KeyExists(path.substr(0, end))) {
        missing = path.substr(0, end);
        break;
      }
    FNew.push_back(missing);
    CreateRegKey(HKEY_LOCAL_MACHINE, path, KEY_READ);
  }
  Save(top);
}

void TKeySecurityKeeper::Save(const std::string& path) {
  const TRegKey key = OpenKey(HKEY_LOCAL_MACHINE, path, READ_CONTROL | KEY_READ);
  if (!key) return;
  DWORD size = 0;
  RegGetKeySecurity(key.Get(), OwnerAndDacl, nullptr, &size);
  std::vector<BYTE> descriptor(size);
  if (RegGetKeySecurity(key.Get(), OwnerAndDacl, descriptor.data(), &size) == ERROR_SUCCESS)
    FSaved.push_back({path, std::move(descriptor)});
  for (const std::string& sub : RegSubKeyNames(key.Get())) Save(path + "\\" + sub);
}

TKeySecurityKeeper::~TKeySecurityKeeper() {
  for (auto it = FNew.rbegin(); it != FNew.rend(); ++it) ForceDeleteKey(*it);
  for (const TSaved& saved : FSaved) {
    if (const TRegKey key = OpenKey(HKEY_LOCAL_MACHINE, saved.Path, WRITE_OWNER | WRITE_DAC))
      RegSetKeySecurity(key.Get(), OwnerAndDacl,
                        const_cast<BYTE*>(saved.Descriptor.data()));
  }
}
