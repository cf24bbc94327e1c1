#pragma once
// A security identifier built by AllocateAndInitializeSid and freed with the object.
#include <windows.h>

#include <algorithm>
#include <initializer_list>
#include <utility>

class TSid {
 public:
  // `authority` is the last byte of the identifier authority (1 world, 3 creator, 5 NT);
  // `count` sub-authorities, of which the first two are given.
  TSid(BYTE authority, BYTE count, DWORD first, DWORD second = 0) {
    SID_IDENTIFIER_AUTHORITY identifier{{0, 0, 0, 0, 0, authority}};
    if (!AllocateAndInitializeSid(&identifier, count, first, second, 0, 0, 0, 0, 0, 0, &FSid)) {
      FError = GetLastError();
      FSid = nullptr;
    }
  }
  // Up to eight sub-authorities, all given.
  TSid(BYTE authority, std::initializer_list<DWORD> subAuthorities) {
    SID_IDENTIFIER_AUTHORITY identifier{{0, 0, 0, 0, 0, authority}};
    DWORD s[8]{};
    const size_t count = std::min<size_t>(subAuthorities.size(), 8);
    std::copy_n(subAuthorities.begin(), count, s);
    if (!AllocateAndInitializeSid(&identifier, static_cast<BYTE>(count), s[0], s[1], s[2], s[3],
                                  s[4], s[5], s[6], s[7], &FSid)) {
      FError = GetLastError();
      FSid = nullptr;
    }
  }
  TSid(const TSid&) = delete;
  TSid& operator=(const TSid&) = delete;
  TSid(TSid&& other) noexcept
      : FSid(std::exchange(other.FSid, nullptr)), FError(other.FError) {}
  TSid& operator=(TSid&&) = delete;
  ~TSid() {
    if (FSid) FreeSid(FSid);
  }

  PSID Get() const { return FSid; }
  explicit operator bool() const { return FSid != nullptr; }
  // Why AllocateAndInitializeSid refused.
  DWORD Error() const { return FError; }

 private:
  PSID FSid = nullptr;
  DWORD FError = 0;
};

// S-1-5-32-544, the built-in Administrators group.
inline TSid AdministratorsSid() {
  return TSid(5, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS);
}
