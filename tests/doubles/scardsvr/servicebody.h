#pragma once
// The service itself, the same in SCardSvr.exe and in the SCardSvr.dll that svchost.exe
// hosts: it reports running and waits for stop or shutdown.
#include <windows.h>

void WINAPI SCardSvrServiceMain(DWORD argc, wchar_t** argv);
