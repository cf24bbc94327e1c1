#pragma once
// Opening documents and web addresses with the programs Windows associates with them.
#include <windows.h>

#include <string>

// Starts the program registered for the file's type (its last four characters, ".txt")
// with the file. False when the file is missing, the path has four characters or fewer,
// no program is registered or it could not be started.
bool OpenDocument(const std::string& path);

// Starts the program registered for ".htm" with `url`, its options dropped.
// 0 started; 1 to 31 the start failed with that code; -1 no browser registered.
int OpenUrlInBrowser(const std::string& url);

// As OpenUrlInBrowser; without a registered browser the shell is asked to open the
// address, owned by `owner`. 0 started; 1 to 31 the browser start failed; -1 nothing
// could open it.
int OpenUrl(HWND owner, const std::string& url);
