#include "sysutil/writeprotection.h"

#include <windows.h>
// after windows.h, which it needs
#include <sddl.h>

#include <gtest/gtest.h>

#include "tests/bed/scratch.h"

namespace {

const wchar_t* const TrustedInstaller =
    L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";

struct TCase {
  const char* What;
  std::wstring Sddl;
  bool Protected;
};

// Wine keeps no owner or DACL a program gives a file: it derives both from the Unix mode,
// with the user as the owner. The decision is therefore shown on descriptors as Windows
// gives them for a file or folder, and on Wine's own files below.
TEST(WriteProtection, OnlyAnAdministrativeOwnerAndNoWriterBesidesTheAdministratorsPass) {
  const TCase cases[] = {
      {"Users may read and run", L"O:BAD:P(A;;FA;;;BA)(A;;FA;;;SY)(A;;0x1200a9;;;BU)", true},
      {"SYSTEM owns it", L"O:SYD:P(A;;FA;;;SY)(A;;FA;;;BA)", true},
      {"TrustedInstaller owns and writes it",
       std::wstring(L"O:") + TrustedInstaller + L"D:P(A;;FA;;;" + TrustedInstaller + L")", true},
      {"a denial changes nothing", L"O:BAD:P(A;;FA;;;BA)(D;;FA;;;BU)", true},
      {"creator owner and Users, for what is made inside only",
       L"O:BAD:P(A;;FA;;;BA)(A;OICIIO;FA;;;CO)(A;OICIIO;FA;;;BU)", true},
      {"Users may change", L"O:BAD:P(A;;FA;;;BA)(A;;0x1301bf;;;BU)", false},
      {"Authenticated Users may add a file", L"O:BAD:P(A;;FA;;;BA)(A;;0x2;;;AU)", false},
      {"Everyone may write, generically", L"O:BAD:P(A;;FA;;;BA)(A;;GW;;;WD)", false},
      {"Users may rewrite the DACL", L"O:BAD:P(A;;FA;;;BA)(A;;WD;;;BU)", false},
      {"Users may take it over", L"O:BAD:P(A;;FA;;;BA)(A;;WO;;;BU)", false},
      {"Users may delete inside", L"O:BAD:P(A;;FA;;;BA)(A;;0x40;;;BU)", false},
      {"the user owns it", L"O:S-1-5-21-1-2-3-1000D:P(A;;FA;;;BA)", false},
      {"Users own it", L"O:BUD:P(A;;FA;;;BA)", false},
      {"no owner", L"D:P(A;;FA;;;BA)", false},
      {"an empty DACL: no one but the owner", L"O:BAD:P", true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    PSECURITY_DESCRIPTOR sd = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(c.Sddl.c_str(), SDDL_REVISION_1,
                                                                     &sd, nullptr));
    EXPECT_EQ(OnlyAdministratorsCanChange(sd), c.Protected);
    LocalFree(sd);
  }
  // No DACL at all lets everyone in (SDDL cannot say so to every parser).
  SECURITY_DESCRIPTOR open;
  ASSERT_TRUE(InitializeSecurityDescriptor(&open, SECURITY_DESCRIPTOR_REVISION));
  PSID administrators = nullptr;
  ASSERT_TRUE(ConvertStringSidToSidW(L"S-1-5-32-544", &administrators));
  ASSERT_TRUE(SetSecurityDescriptorOwner(&open, administrators, FALSE));
  ASSERT_TRUE(SetSecurityDescriptorDacl(&open, TRUE, nullptr, FALSE));
  EXPECT_FALSE(OnlyAdministratorsCanChange(&open));
  LocalFree(administrators);
}

// What the user made is the user's to change, and what cannot be read is vouched for by no one.
TEST(WriteProtection, TheUsersOwnFilesAndWhatIsNotThereAreNotProtected) {
  TScratchFolder scratch(L"write protection");
  const std::wstring file = scratch.Path() + L"cardmend.chm";
  ASSERT_TRUE(CloseHandle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr)));
  EXPECT_FALSE(OnlyAdministratorsCanChange(scratch.Path()));
  EXPECT_FALSE(OnlyAdministratorsCanChange(file));
  EXPECT_FALSE(OnlyAdministratorsCanChange(scratch.Path() + L"missing.chm"));
  EXPECT_FALSE(OnlyAdministratorsCanChange(std::wstring()));
}

}  // namespace
