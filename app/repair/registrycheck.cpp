#include "app/repair/registrycheck.h"

#include <string>

#include "app/repair/diaglog.h"
#include "app/repair/windowsfamily.h"
#include "sysutil/registryaccess.h"
#include "sysutil/registryvalues.h"
#include "sysutil/textconv.h"
#include "sysutil/windowsversion.h"

namespace {

const char* const CalaisKey = "Software\\Microsoft\\Cryptography\\Calais";

struct TSubKey {
  const char* Path;
  const char* Shown;  // as the trace names it
};
const TSubKey SubKeys[] = {
    {"Software\\Microsoft\\Cryptography\\Calais\\Current",
     "HKLM\\Software\\Microsoft\\Cryptography\\Calais\\Current"},
    {"Software\\Microsoft\\Cryptography\\Calais\\Readers",
     "HKLM\\Software\\Microsoft\\Cryptography\\Calais\\Readers"},
    {"Software\\Microsoft\\Cryptography\\Calais\\SmartCards",
     "HKLM\\Software\\Microsoft\\Cryptography\\Calais\\Smartcards"},
};

std::string ExpectedSCardSvrAccount() {
  return IsWin2000() ? "LocalSystem" : "NT AUTHORITY\\LocalService";
}

std::string ExpectedSCardDrvAccount() {
  return IsWinXP() ? "NT AUTHORITY\\LocalService" : "LocalSystem";
}

// `missing` when the account is missing, `missing - 1` when it is wrong, 0 when it matches.
// Account names know no case; a value that cannot be read as text is as wrong as a wrong name.
int CheckAccount(TDiagnosticLog& log, HKEY key, const std::string& expected, int missing) {
  if (!RegValueExists(key, "ObjectName")) {
    log.Log("  ObjectName does not exists");
    return missing;
  }
  log.Log("  ObjectName exists");
  std::string account;
  if (ReadRegString(key, "ObjectName", account) == ERROR_SUCCESS && SameAsciiText(account, expected)) return 0;
  log.Log("  ObjectName has an invalid value");
  return missing - 1;
}

bool GroupInOrder(HKEY key) {
  std::string group;
  return ReadRegString(key, "Group", group) == ERROR_SUCCESS && group == "SmartCardGroup";
}

}  // namespace

int VerifyRegistry(TDiagnosticLog& log, bool createMissing) {
  if (!OpenRegKey(HKEY_LOCAL_MACHINE, CalaisKey, KEY_ALL_ACCESS)) {
    log.Log("HKLM\\Software\\Microsoft\\Cryptography\\Calais could not be opened");
    return 1;
  }
  log.Log("Software\\Microsoft\\Cryptography\\Calais successfully opened");
  int result = 0;
  for (const TSubKey& sub : SubKeys) {
    const TRegKey opened = createMissing
                               ? CreateRegKey(HKEY_LOCAL_MACHINE, sub.Path, KEY_ALL_ACCESS)
                               : OpenRegKey(HKEY_LOCAL_MACHINE, sub.Path, KEY_ALL_ACCESS);
    if (opened) {
      log.Log(std::string(sub.Shown) + " successfully opened");
    } else {
      log.Log(std::string(sub.Shown) + " could not be opened");
      result = 2;
    }
  }

  {
    const TRegKey service = OpenRegKey(HKEY_LOCAL_MACHINE,
                                       "SYSTEM\\CurrentControlSet\\Services\\SCardSvr",
                                       KEY_ALL_ACCESS);
    if (!service) {
      log.Log("HKLM\\SYSTEM\\CurrentControlSet\\Services\\SCardSvr could not be opened");
      return 5;
    }
    log.Log("HKLM\\SYSTEM\\CurrentControlSet\\Services\\SCardSvr successfully opened");
    if (const int account = CheckAccount(log, service.Get(), ExpectedSCardSvrAccount(), 4))
      return account;
    if (IsXP32SP2() && !GroupInOrder(service.Get())) {
      log.Log("  Group has an invalid value");
      return 6;
    }
  }

  const TRegKey companion = OpenRegKey(HKEY_LOCAL_MACHINE,
                                       "SYSTEM\\CurrentControlSet\\Services\\SCardDrv",
                                       KEY_ALL_ACCESS);
  if (!companion) {
    log.Log("HKLM\\SYSTEM\\CurrentControlSet\\Services\\SCardDrv could not be opened");
    return result;
  }
  log.Log("HKLM\\SYSTEM\\CurrentControlSet\\Services\\SCardDrv successfully opened");
  if (const int account = CheckAccount(log, companion.Get(), ExpectedSCardDrvAccount(), 8))
    return account;
  return result;
}
