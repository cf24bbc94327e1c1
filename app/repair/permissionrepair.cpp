#include "app/repair/permissionrepair.h"

#include <utility>
#include <vector>

#include "app/repair/diaglog.h"
#include "sysutil/security.h"
#include "sysutil/sid.h"
#include "sysutil/windowsversion.h"

namespace {

constexpr DWORD EntryFlags = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
constexpr DWORD ReadAccess = KEY_READ;
constexpr DWORD FullAccess = KEY_ALL_ACCESS;

// The entries only XP and later get, in their order.
struct TLaterEntry {
  const char* SidName;    // as the trace names the SID
  const char* EntryName;  // as the trace names the entry
  DWORD Access;
  BYTE Authority;
  BYTE Count;
  DWORD First;
  DWORD Second;
};

constexpr TLaterEntry LaterEntries[] = {
    {"LocalServiceSid", "Local Service", FullAccess, 5, 1, SECURITY_LOCAL_SERVICE_RID, 0},
    {"WinCreatorOwnerSid", "Creator/Owner", FullAccess, 3, 1, SECURITY_CREATOR_OWNER_RID, 0},
    {"WinBuiltinPowerUsersSid", "PowerUser", ReadAccess, 5, 2, SECURITY_BUILTIN_DOMAIN_RID,
     DOMAIN_ALIAS_RID_POWER_USERS},
    {"WinBuiltinUsersSid", "User", ReadAccess, 5, 2, SECURITY_BUILTIN_DOMAIN_RID,
     DOMAIN_ALIAS_RID_USERS},
};

// An absent SID is skipped but still traced as added: a Windows without that account
// simply gets no entry for it.
bool AddEntry(TDiagnosticLog& log, PACL acl, const char* name, DWORD access, PSID sid) {
  const bool added =
      !sid || Security::AddAccessAllowedAceEx(acl, ACL_REVISION, EntryFlags, access, sid);
  log.Log(std::string("AddAccessAllowedAce ") + name + (added ? " OK" : " FAIL"));
  return added;
}

// Fills `memory` with the DACL; 0 or the result code of the step that failed. The SIDs
// live only here: the DACL keeps copies.
int BuildDacl(TDiagnosticLog& log, std::vector<DWORD>& memory) {
  const bool later = IsWinXPOrLater();
  std::vector<TSid> laterSids;
  if (later) {
    laterSids.reserve(std::size(LaterEntries));
    for (const TLaterEntry& entry : LaterEntries) {
      const TSid& sid =
          laterSids.emplace_back(entry.Authority, entry.Count, entry.First, entry.Second);
      log.Log(std::string("AllocateAndInitializeSID ") + entry.SidName +
              (sid ? " OK" : " FAIL: " + std::to_string(sid.Error())));
    }
  }
  const TSid system(5, 1, SECURITY_LOCAL_SYSTEM_RID);
  const TSid everyone(1, 1, SECURITY_WORLD_RID);
  const TSid administrators = AdministratorsSid();
  if (!system || !everyone || !administrators) return 25;

  DWORD size = GetLengthSid(system.Get()) + GetLengthSid(everyone.Get()) +
               GetLengthSid(administrators.Get()) + 32;
  log.Log("dwAclSize 1: " + std::to_string(size));
  for (const TSid& sid : laterSids)
    if (sid) size += GetLengthSid(sid.Get()) + 12;
  log.Log("dwAclSize 2: " + std::to_string(size));

  memory.assign((size + sizeof(DWORD) - 1) / sizeof(DWORD), 0);
  const PACL acl = reinterpret_cast<PACL>(memory.data());
  if (!InitializeAcl(acl, size, ACL_REVISION)) {
    log.Log("InitializeAcl FAIL");
    return 30;
  }
  log.Log("InitializeAcl OK");

  if (!AddEntry(log, acl, "Everyone", ReadAccess, everyone.Get()) ||
      !AddEntry(log, acl, "System", FullAccess, system.Get()) ||
      !AddEntry(log, acl, "Admin", FullAccess, administrators.Get()))
    return 31;
  for (size_t i = 0; i < laterSids.size(); ++i) {
    const TLaterEntry& entry = LaterEntries[i];
    if (!AddEntry(log, acl, entry.EntryName, entry.Access, laterSids[i].Get())) return 32;
  }
  return 0;
}

}  // namespace

int SetRegistryPermissions(TDiagnosticLog& log, HKEY root, const std::string& path,
                           bool recurse) {
  log.Log("SetRegistryPermissions 1");
  const std::string rootName = RegistryRootName(root);
  if (rootName.empty()) return 5;
  log.Log("SetRegistryPermissions 2: " + rootName + path);
  if (!IsWin2000OrLater()) return 10;

  // Without ownership the DACL may still be writable, so a failure here is no reason to stop.
  TakeOwnership(root, path, recurse);

  std::vector<DWORD> aclMemory;
  if (const int failed = BuildDacl(log, aclMemory)) return failed;

  SECURITY_DESCRIPTOR descriptor;
  if (!InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION)) {
    log.Log("InitializeSecurityDescriptor FAIL");
    return 40;
  }
  log.Log("InitializeSecurityDescriptor OK");
  if (!SetSecurityDescriptorDacl(&descriptor, TRUE, reinterpret_cast<PACL>(aclMemory.data()),
                                 FALSE)) {
    log.Log("SetSecurityDescriptorDacl FAIL");
    return 50;
  }
  log.Log("SetSecurityDescriptorDacl OK");

  const int applied = SetRegistrySecurity(root, path, &descriptor, recurse);
  log.Log("SetRegistrySecurity: " + std::to_string(applied));
  return applied == 0 ? 0 : 60 + applied;
}

void RepairCalaisPermissions(TDiagnosticLog& log) {
  const char* const keys[] = {"Software\\Microsoft\\Cryptography\\Calais\\",
                              "Software\\Microsoft\\Cryptography\\Calais\\Readers"};
  for (const char* key : keys) {
    for (int attempt = 0; attempt < 3; ++attempt)
      if (SetRegistryPermissions(log, HKEY_LOCAL_MACHINE, key, true) == 0) break;
  }
}
