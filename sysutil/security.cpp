#include "sysutil/security.h"

#include <vector>

#include "sysutil/handles.h"
#include "sysutil/registryaccess.h"
#include "sysutil/sid.h"
#include "sysutil/systemlibrary.h"
#include "sysutil/textconv.h"

namespace {

using TSetNamedSecurityInfoA = DWORD(WINAPI*)(LPSTR, int, SECURITY_INFORMATION, PSID, PSID,
                                              PACL, PACL);
using TAddAccessAllowedAceEx = BOOL(WINAPI*)(PACL, DWORD, DWORD, DWORD, PSID);

// Security functions that older Windows lacks or keeps in ACLAPI.DLL: resolved at start,
// released at the end. ACLAPI.DLL is asked first; advapi32's answer, when it loads,
// replaces that one.
class TByNameFunctions {
 public:
  TByNameFunctions()
      : FAclApi(LoadSystemLibrary("ACLAPI.DLL")), FAdvapi(LoadSystemLibrary("advapi32.dll")) {
    SetNamedSecurityInfo =
        ModuleFunction<TSetNamedSecurityInfoA>(FAclApi.Get(), "SetNamedSecurityInfoA");
    if (FAdvapi) {
      SetNamedSecurityInfo =
          ModuleFunction<TSetNamedSecurityInfoA>(FAdvapi.Get(), "SetNamedSecurityInfoA");
      AddAccessAllowedAceEx =
          ModuleFunction<TAddAccessAllowedAceEx>(FAdvapi.Get(), "AddAccessAllowedAceEx");
    }
  }
  ~TByNameFunctions() {
    SetNamedSecurityInfo = nullptr;
    AddAccessAllowedAceEx = nullptr;
  }

  TSetNamedSecurityInfoA SetNamedSecurityInfo = nullptr;
  TAddAccessAllowedAceEx AddAccessAllowedAceEx = nullptr;

 private:
  TModule FAclApi;
  TModule FAdvapi;
};

const TByNameFunctions ByName;

int MissingScopes = 0;

TSetNamedSecurityInfoA SetNamedSecurityInfoFunction() {
  return MissingScopes > 0 ? nullptr : ByName.SetNamedSecurityInfo;
}

TAddAccessAllowedAceEx AddAccessAllowedAceExFunction() {
  return MissingScopes > 0 ? nullptr : ByName.AddAccessAllowedAceEx;
}

std::string WithBackslash(std::string path) {
  if (path.back() != '\\') path += '\\';
  return path;
}

// Through the key itself rather than by object name, so the owner lands on the key of the
// view the registry helper chose.
bool SetOwner(HKEY root, const std::string& path, PSID owner) {
  const TRegKey key = OpenRegKey(root, path, WRITE_OWNER);
  if (!key) return false;
  SECURITY_DESCRIPTOR descriptor;
  if (!InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) ||
      !SetSecurityDescriptorOwner(&descriptor, owner, FALSE))
    return false;
  return RegSetKeySecurity(key.Get(), OWNER_SECURITY_INFORMATION, &descriptor) == ERROR_SUCCESS;
}

}  // namespace

bool SetPrivilege(HANDLE token, const std::string& privilege, bool enable) {
  TOKEN_PRIVILEGES privileges{};
  if (!LookupPrivilegeValueW(nullptr, Widen(privilege).c_str(), &privileges.Privileges[0].Luid))
    return false;
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;
  return AdjustTokenPrivileges(token, FALSE, &privileges, sizeof(TOKEN_PRIVILEGES), nullptr,
                               nullptr) != FALSE;
}

std::string RegistryRootName(HKEY root) {
  if (root == HKEY_CLASSES_ROOT) return "CLASSES_ROOT\\";
  if (root == HKEY_CURRENT_USER) return "CURRENT_USER\\";
  if (root == HKEY_LOCAL_MACHINE) return "MACHINE\\";
  if (root == HKEY_USERS) return "USERS\\";
  return "";
}

int TakeOwnership(HKEY root, const std::string& path, bool recurse) {
  if (!SetNamedSecurityInfoFunction() || RegistryRootName(root).empty() || path.empty()) return 1;
  const std::string keyPath = WithBackslash(path);
  const TSid administrators = AdministratorsSid();
  if (!administrators.Get()) return 2;
  HANDLE rawToken = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &rawToken)) return 3;
  const THandle token(rawToken);
  if (!SetPrivilege(token.Get(), "SeTakeOwnershipPrivilege", true)) return 4;
  if (!SetOwner(root, keyPath, administrators.Get())) return 5;
  if (!recurse) return 0;  // the privilege stays on
  if (const TRegKey key = OpenRegKey(root, keyPath, KEY_READ)) {
    for (const std::string& name : RegSubKeyNames(key.Get()))
      TakeOwnership(root, keyPath + name, true);
  }
  SetPrivilege(token.Get(), "SeTakeOwnershipPrivilege", false);
  return 6;
}

int SetRegistrySecurity(HKEY root, const std::string& path, PSECURITY_DESCRIPTOR descriptor,
                        bool recurse) {
  if (path.empty()) return 1;
  const std::string keyPath = WithBackslash(path);
  {
    const TRegKey key = OpenRegKey(root, keyPath, WRITE_DAC);
    if (!key) return 2;
    if (RegSetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, descriptor) != ERROR_SUCCESS)
      return 3;
  }
  int result = 0;
  if (!recurse) return result;
  if (const TRegKey key = OpenRegKey(root, keyPath, KEY_READ)) {
    for (const std::string& name : RegSubKeyNames(key.Get())) {
      const int sub = SetRegistrySecurity(root, keyPath + name, descriptor, true);
      if (sub != 0) result = sub;
    }
  }
  return result;
}

bool HasEnabledAdministrators(const TOKEN_GROUPS& groups) {
  const TSid administrators = AdministratorsSid();
  if (!administrators.Get()) return false;
  for (DWORD i = 0; i < groups.GroupCount; ++i) {
    const SID_AND_ATTRIBUTES& group = groups.Groups[i];
    if (!EqualSid(group.Sid, administrators.Get())) continue;
    if ((group.Attributes & SE_GROUP_ENABLED) && !(group.Attributes & SE_GROUP_USE_FOR_DENY_ONLY))
      return true;
  }
  return false;
}

bool IsUserAdmin() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof(version);
  if (GetVersionExA(&version) && version.dwPlatformId != VER_PLATFORM_WIN32_NT) return true;

  HANDLE rawToken = nullptr;
  if (!OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &rawToken)) {
    if (GetLastError() != ERROR_NO_TOKEN ||
        !OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &rawToken))
      return false;
  }
  const THandle token(rawToken);
  // Sized by asking: a domain member's token easily holds more groups than a fixed buffer.
  DWORD size = 0;
  GetTokenInformation(token.Get(), TokenGroups, nullptr, 0, &size);
  if (size == 0) return false;
  std::vector<DWORD> buffer((size + sizeof(DWORD) - 1) / sizeof(DWORD));
  if (!GetTokenInformation(token.Get(), TokenGroups, buffer.data(), size, &size)) return false;
  return HasEnabledAdministrators(*reinterpret_cast<const TOKEN_GROUPS*>(buffer.data()));
}

bool Security::AddAccessAllowedAceEx(PACL acl, DWORD revision, DWORD aceFlags, DWORD accessMask,
                                     PSID sid) {
  const TAddAccessAllowedAceEx add = AddAccessAllowedAceExFunction();
  if (!add) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return false;
  }
  return add(acl, revision, aceFlags, accessMask, sid) != FALSE;
}

TMissingSecurityFunctions::TMissingSecurityFunctions() { ++MissingScopes; }

TMissingSecurityFunctions::~TMissingSecurityFunctions() { --MissingScopes; }
