#include "sysutil/writeprotection.h"

#include <cstddef>
#include <vector>

#include "sysutil/sid.h"
#include "sysutil/systemlibrary.h"

namespace {

// Looked up by name, with the descriptor functions: Windows 95 to Me know no file security.
struct TFileSecurityFunctions {
  using TGetFileSecurityW = BOOL(WINAPI*)(LPCWSTR, SECURITY_INFORMATION, PSECURITY_DESCRIPTOR,
                                          DWORD, LPDWORD);
  using TGetOwner = BOOL(WINAPI*)(PSECURITY_DESCRIPTOR, PSID*, LPBOOL);
  using TGetDacl = BOOL(WINAPI*)(PSECURITY_DESCRIPTOR, LPBOOL, PACL*, LPBOOL);

  TGetFileSecurityW GetFileSecurity = Find<TGetFileSecurityW>("GetFileSecurityW");
  TGetOwner GetOwner = Find<TGetOwner>("GetSecurityDescriptorOwner");
  TGetDacl GetDacl = Find<TGetDacl>("GetSecurityDescriptorDacl");

  template <typename F>
  static F Find(const char* name) {
    return LoadedFunction<F>(L"advapi32.dll", name);
  }
};

const TFileSecurityFunctions& Functions() {
  static const TFileSecurityFunctions functions;
  return functions;
}

// Rights that let a holder replace what is there: write or add data, delete children or the
// object itself, take it over or rewrite its DACL, and the generic rights that include them.
constexpr DWORD ChangingRights = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_DELETE_CHILD | DELETE |
                                 WRITE_DAC | WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;

bool IsAdministration(PSID sid) {
  static const TSid trusted[] = {
      AdministratorsSid(),
      TSid(5, 1, SECURITY_LOCAL_SYSTEM_RID),
      // NT SERVICE\TrustedInstaller, which owns the system's own folders from Vista on.
      TSid(5, {SECURITY_SERVICE_ID_BASE_RID, 956008885, 3418522649, 1831038044, 1853292631,
               2271478464}),
  };
  if (!sid) return false;
  for (const TSid& t : trusted)
    if (t && EqualSid(t.Get(), sid)) return true;
  return false;
}

std::vector<BYTE> ReadSecurity(const std::wstring& path) {
  const auto get = Functions().GetFileSecurity;
  if (!get) return {};
  const SECURITY_INFORMATION wanted = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
  DWORD size = 0;
  get(path.c_str(), wanted, nullptr, 0, &size);
  if (size < sizeof(SECURITY_DESCRIPTOR_RELATIVE)) return {};
  std::vector<BYTE> descriptor(size);
  if (!get(path.c_str(), wanted, descriptor.data(), size, &size)) return {};
  return descriptor;
}

// Only allowing entries that apply to the object itself count; a denying entry is ignored,
// which can only make the answer stricter.
bool DaclKeepsOthersOut(const ACL& acl) {
  const BYTE* at = reinterpret_cast<const BYTE*>(&acl) + sizeof(ACL);
  const BYTE* const end = reinterpret_cast<const BYTE*>(&acl) + acl.AclSize;
  for (WORD i = 0; i < acl.AceCount; ++i) {
    if (at + sizeof(ACE_HEADER) > end) return false;
    const auto* header = reinterpret_cast<const ACE_HEADER*>(at);
    if (header->AceSize < sizeof(ACE_HEADER) || at + header->AceSize > end) return false;
    const bool allows = header->AceType == ACCESS_ALLOWED_ACE_TYPE ||
                        header->AceType == ACCESS_ALLOWED_CALLBACK_ACE_TYPE;
    if (allows && !(header->AceFlags & INHERIT_ONLY_ACE)) {
      const auto* ace = reinterpret_cast<const ACCESS_ALLOWED_ACE*>(at);
      const size_t room = header->AceSize - offsetof(ACCESS_ALLOWED_ACE, SidStart);
      PSID sid = const_cast<DWORD*>(&ace->SidStart);
      if (room < 8 || room < 8 + 4 * static_cast<size_t>(static_cast<const BYTE*>(sid)[1]))
        return false;
      if ((ace->Mask & ChangingRights) && !IsAdministration(sid)) return false;
    }
    at += header->AceSize;
  }
  return true;
}

}  // namespace

bool OnlyAdministratorsCanChange(const std::wstring& path) {
  std::vector<BYTE> descriptor = ReadSecurity(path);
  return !descriptor.empty() && OnlyAdministratorsCanChange(descriptor.data());
}

bool OnlyAdministratorsCanChange(PSECURITY_DESCRIPTOR descriptor) {
  const TFileSecurityFunctions& f = Functions();
  if (!f.GetOwner || !f.GetDacl) return false;
  PSID owner = nullptr;
  BOOL ownerDefaulted = FALSE, present = FALSE, daclDefaulted = FALSE;
  PACL dacl = nullptr;
  if (!f.GetOwner(descriptor, &owner, &ownerDefaulted) || !IsAdministration(owner)) return false;
  if (!f.GetDacl(descriptor, &present, &dacl, &daclDefaulted) || !present || !dacl) return false;
  return DaclKeepsOthersOut(*dacl);
}
