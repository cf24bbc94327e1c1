#pragma once
// How the test SCardSvr service is registered with the service manager: the configuration
// a healthy system has for the running Windows family, shared by the double's `reinstall`
// and by the scenario library's healthy baseline.
#include <windows.h>

#include <string>
#include <vector>

#include "sysutil/handles.h"

struct TCloseScm { void operator()(SC_HANDLE h) const { CloseServiceHandle(h); } };
using TScmHandle = TOwned<SC_HANDLE, TCloseScm, nullptr>;

// The values a healthy system keeps under Services\SCardSvr.
struct TSCardSvrConfig {
  DWORD Type = SERVICE_WIN32_SHARE_PROCESS;
  DWORD Start = SERVICE_AUTO_START;
  DWORD ErrorControl = SERVICE_ERROR_NORMAL;
  std::wstring ImagePath;
  std::wstring DisplayName;
  std::wstring ObjectName;
  std::wstring Group;  // empty: no group
  std::vector<std::wstring> DependOnService;
  bool ServiceSidType = false;  // Vista and later: a restricted service SID
};

// For the Windows this process sees (GetVersionEx).
TSCardSvrConfig HealthyConfig();

// Makes the manager know SCardSvr with `config`: creates the service when the manager does
// not know it, else rewrites its configuration through the manager (which saves it to the
// service's key, creating the key again when it was removed), then writes the values the
// manager does not keep. ERROR_SUCCESS or the first failure.
DWORD RegisterSCardSvr(const TSCardSvrConfig& config);

// Calais with its Current, Readers and SmartCards keys in the 64-bit view, as the resource
// manager's setup leaves them; ERROR_SUCCESS or the first failure.
DWORD CreateCalaisKeys();

// Only when the manager does not know SCardSvr or its key is missing; an intact
// registration stays as it is.
DWORD RegisterSCardSvrIfMissing(const TSCardSvrConfig& config);
