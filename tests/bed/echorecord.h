#pragma once
// What the helper program echoargs.exe reports about how it was started.
#include <windows.h>

#include <optional>
#include <string>

// The file echoargs writes its record to (it writes nothing without the variable).
inline constexpr wchar_t EchoFileVariable[] = L"CARDMEND_ECHO_FILE";
// When set, echoargs first copies the file named by its last argument to this path.
inline constexpr wchar_t EchoCopyVariable[] = L"CARDMEND_ECHO_COPY";

struct TEchoRecord {
  std::wstring Module;       // the program file that ran
  std::wstring CommandLine;  // GetCommandLineW, unchanged
  std::wstring Show;         // wShowWindow when the starter asked for one, else "-"
};

// Waits up to `timeoutMs` for the record at `path`; nullopt when none came.
std::optional<TEchoRecord> WaitForEcho(const std::wstring& path, DWORD timeoutMs);
