#include "app/branding.h"

#include <windows.h>

#include "controls/vexdesign.h"
#include "sysutil/fileversion.h"
#include "sysutil/textconv.h"

std::string ProgramFile() {
  // The module's own path, not the command line's first word: a starter may put anything
  // there, or a relative name that means nothing once the current folder changes.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return Narrow(path);
    }
    path.resize(path.size() * 2);
  }
}

void BrandTheme() {
  DesignProductName = ProductName;
  DesignTrademark.clear();
  DesignCopyrightYears = CopyrightYears;
  DesignCompany = CompanyName;
}

void BrandVersion(const std::string& programFile) {
  DesignProductVersion = FileVersionString(programFile, FallbackVersion);
}

std::string BrandedCaption() { return DesignTrademark + " " + DesignProductName; }
