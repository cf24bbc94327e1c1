#pragma once
// Whether a file or folder is out of reach of everyone but the administrators. The program
// runs elevated: a file it opens from a place an ordinary user can change is that user's
// code running with administrator rights.
#include <windows.h>

#include <string>

// True when `path` (a file or a folder) is owned by the Administrators group, SYSTEM or
// TrustedInstaller, and its DACL gives no one else a right to write, add, delete or change
// its owner or DACL. False on a missing DACL (everyone may), on a volume without security
// (FAT) and when the security cannot be read: then no one can vouch for it.
bool OnlyAdministratorsCanChange(const std::wstring& path);
// The same decision over a descriptor with owner and DACL, as the file system gives it.
bool OnlyAdministratorsCanChange(PSECURITY_DESCRIPTOR descriptor);
