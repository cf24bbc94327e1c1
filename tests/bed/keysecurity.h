#pragma once
// Owner and DACL of keys below HKEY_LOCAL_MACHINE in the 64-bit view (where the program's
// registry helper works under WOW64), read and written past the helpers under test.
#include <windows.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

// One DACL entry; allowed and denied entries only, the SID as text ("S-1-5-32-544").
struct TAce {
  BYTE Type;
  BYTE Flags;
  ACCESS_MASK Mask;
  std::string Sid;
  bool operator==(const TAce&) const = default;
};
void PrintTo(const TAce& ace, std::ostream* out);

struct TKeySecurity {
  std::string Owner;  // "(no key)" or "(unreadable)" when it cannot be read
  std::vector<TAce> Dacl;
};

// A SID from its text form, freed with the object; null when the text is no SID.
class TSidValue {
 public:
  explicit TSidValue(const char* text);
  TSidValue(const TSidValue&) = delete;
  TSidValue& operator=(const TSidValue&) = delete;
  ~TSidValue();
  PSID Get() const { return FSid; }

 private:
  PSID FSid = nullptr;
};

// An absolute security descriptor with an owner (unless null) and a DACL of these entries,
// in memory that lives as long as the object.
class TDescriptor {
 public:
  TDescriptor(const char* owner, const std::vector<TAce>& entries);
  TDescriptor(const TDescriptor&) = delete;
  TDescriptor& operator=(const TDescriptor&) = delete;
  PSECURITY_DESCRIPTOR Get() { return &FDescriptor; }
  // False when an entry or the owner could not be put in.
  bool Complete() const { return FComplete; }

 private:
  SECURITY_DESCRIPTOR FDescriptor;
  std::vector<DWORD> FAcl = std::vector<DWORD>(1024);
  std::vector<std::unique_ptr<TSidValue>> FSids;
  bool FComplete = true;
};

// `view` chooses the registry view; the 64-bit one is where the program works.
TKeySecurity ReadKeySecurity(const std::string& path, REGSAM view = KEY_WOW64_64KEY);
// Sets the owner (unless null) and the DACL; false when Windows refuses.
bool WriteKeySecurity(const std::string& path, const char* owner, const std::vector<TAce>& dacl,
                      REGSAM view = KEY_WOW64_64KEY);
// Sets the owner alone: a key whose DACL shuts the token out may still be taken over.
bool WriteKeyOwner(const std::string& path, const char* owner, REGSAM view = KEY_WOW64_64KEY);
bool KeyExists(const std::string& path);
// Deletes a key tree as far as the token can: keys it may own or whose DACL it may write are
// opened up first.
void ForceDeleteKey(const std::string& path);

// Switches a privilege of the process token on for one scope, off again at its end.
class TPrivilegeScope {
 public:
  explicit TPrivilegeScope(const char* name);
  TPrivilegeScope(const TPrivilegeScope&) = delete;
  TPrivilegeScope& operator=(const TPrivilegeScope&) = delete;
  ~TPrivilegeScope();

 private:
  std::string FName;
};

// Keeps owner and DACL of every key of a tree (creating the tree's top and `extra` keys
// below it when they are missing) and at its end deletes what it created and puts back
// owner and DACL of the rest. Writing other owners needs SeRestorePrivilege.
class TKeySecurityKeeper {
 public:
  explicit TKeySecurityKeeper(const std::string& top, const std::vector<std::string>& extra = {});
  TKeySecurityKeeper(const TKeySecurityKeeper&) = delete;
  TKeySecurityKeeper& operator=(const TKeySecurityKeeper&) = delete;
  ~TKeySecurityKeeper();

 private:
  struct TSaved {
    std::string Path;
    std::vector<BYTE> Descriptor;
  };
  void Save(const std::string& path);

  std::vector<TSaved> FSaved;     // each key before its sub-keys
  std::vector<std::string> FNew;  // created here, deleted at the end
};
