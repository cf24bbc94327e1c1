#pragma once
// Privileges, ownership and access rights of registry key trees, and the administrator test.
// Every key is opened through sysutil/registryaccess.h, so under WOW64 these change the
// 64-bit keys.
#include <windows.h>

#include <string>

// Switches `privilege` (such as "SeTakeOwnershipPrivilege") on or off in `token`, which
// needs TOKEN_ADJUST_PRIVILEGES. True when the adjustment call succeeded; a privilege the
// token does not hold is not reported.
bool SetPrivilege(HANDLE token, const std::string& privilege, bool enable);

// The object-name prefix of a registry root: "MACHINE\" for HKEY_LOCAL_MACHINE,
// "CURRENT_USER\", "CLASSES_ROOT\", "USERS\"; empty for any other key.
std::string RegistryRootName(HKEY root);

// Makes the Administrators group the owner of `path` below `root` (and, with `recurse`, of
// every key below it, each before its sub-keys; failures there do not stop the walk).
// 0 done without recurse, 6 done with recurse; 1 nothing to do (no by-name security
// functions, unknown root or empty path), 2 no Administrators SID, 3 no process token,
// 4 privilege not switched on, 5 the owner could not be set.
int TakeOwnership(HKEY root, const std::string& path, bool recurse);

// Applies the DACL of `descriptor` to `path` below `root` (and, with `recurse`, to every key
// below it; a key gets its DACL before its sub-keys are listed). 0 done, 1 empty path,
// 2 a key could not be opened for WRITE_DAC, 3 a DACL could not be set; over a tree the
// last failing key decides.
int SetRegistrySecurity(HKEY root, const std::string& path, PSECURITY_DESCRIPTOR descriptor,
                        bool recurse);

// True when the current token has the Administrators group enabled (always on 95/98/Me);
// false on any failure.
bool IsUserAdmin();
// The decision over a token's groups: only an enabled Administrators entry counts, so the
// deny-only entry of a UAC-filtered token does not.
bool HasEnabledAdministrators(const TOKEN_GROUPS& groups);

// Windows declares AddAccessAllowedAceEx itself; this one is looked up by name at start.
namespace Security {
// False when advapi32 lacks the function (last error ERROR_PROC_NOT_FOUND) or the call
// failed.
bool AddAccessAllowedAceEx(PACL acl, DWORD revision, DWORD aceFlags, DWORD accessMask, PSID sid);
}  // namespace Security

// For tests: while it lives, the functions looked up by name count as missing, as on a
// Windows that lacks them (TakeOwnership gives 1, AddAccessAllowedAceEx fails). Scopes nest.
class TMissingSecurityFunctions {
 public:
  TMissingSecurityFunctions();
  TMissingSecurityFunctions(const TMissingSecurityFunctions&) = delete;
  TMissingSecurityFunctions& operator=(const TMissingSecurityFunctions&) = delete;
  ~TMissingSecurityFunctions();
};
