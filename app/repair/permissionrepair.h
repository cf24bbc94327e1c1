#pragma once
// Gives the smart-card database key tree a DACL the smart-card service and every user can
// work with. Every step is traced.
#include <windows.h>

#include <string>

class TDiagnosticLog;

// Makes Administrators the owner of `path` below `root` (and, with `recurse`, of every key
// below it), then sets the DACL: Everyone read, System and Administrators full access, and
// from XP on also Local Service and Creator Owner full access, Power Users and Users read;
// every entry inherited by sub-keys.
// 0 applied to the key and all below; 5 `root` is not HKCR, HKCU, HKLM or HKU; 10 Windows
// older than 2000; 25 a SID of Everyone, System or Administrators could not be built;
// 30 the ACL could not be initialised; 31 one of the first three entries could not be added
// (also when Windows lacks AddAccessAllowedAceEx); 32 one of the XP entries could not be
// added; 40 and 50 the security descriptor could not be prepared; 60 + n SetRegistrySecurity
// answered n (61 empty path, 62 a key could not be opened for WRITE_DAC, 63 a DACL could not
// be set).
int SetRegistryPermissions(TDiagnosticLog& log, HKEY root, const std::string& path, bool recurse);

// Repairs HKLM\Software\Microsoft\Cryptography\Calais and then its Readers key with their
// sub-keys: up to three attempts each, until one succeeds. What remains failed is only in
// the trace.
void RepairCalaisPermissions(TDiagnosticLog& log);
