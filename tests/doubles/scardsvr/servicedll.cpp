// SCardSvr.dll: the same service for Wine's svchost.exe, which reads the DLL from
// Services\SCardSvr\Parameters\ServiceDll when the image path is the svchost form.
#include "tests/doubles/scardsvr/servicebody.h"

extern "C" void WINAPI ServiceMain(DWORD argc, wchar_t** argv) { SCardSvrServiceMain(argc, argv); }
