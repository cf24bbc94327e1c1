#!/usr/bin/env bash
# check-imports.sh EXE: the program must load on Windows 2000, so it may import none of the
# functions that came later (those are looked up by name). It runs elevated, often from a
# folder others can write, and Windows loads an imported DLL from the program's folder first
# unless it is a KnownDLL: so it imports only KnownDLLs, and loads any other library by full
# path from the System folder.
set -euo pipefail
exe=$1
dump=$(i686-w64-mingw32-objdump -p "$exe")

allowed='^(ADVAPI32|GDI32|KERNEL32|msvcrt|USER32)\.(dll|DLL)$'
status=0
while read -r dll; do
  if ! [[ $dll =~ $allowed ]]; then
    echo "imports $dll, which is no KnownDLL: a copy beside the exe would load first" >&2
    status=1
  fi
done < <(awk '/DLL Name:/ {print $3}' <<<"$dump")

# Later than Windows 2000; a static import of any of them stops the program from loading.
later='GetTickCount64|AddVectoredExceptionHandler|RemoveVectoredExceptionHandler|IsWow64Process|GetProductInfo|AddAccessAllowedAceEx|SetNamedSecurityInfoA|SetDllDirectoryW|SetDllDirectoryA|InitializeSRWLock|AcquireSRWLockExclusive|InitializeConditionVariable|GetNativeSystemInfo|CreateSymbolicLinkW|GetFinalPathNameByHandleW|InitOnceExecuteOnce|FlsAlloc|GetLogicalProcessorInformation|SetWindowSubclass|DefSubclassProc|RemoveWindowSubclass|GetSystemTimePreciseAsFileTime|WTSGetActiveConsoleSessionId|AttachConsole|GetConsoleWindow'
found=$(grep -E '^\s+[0-9a-f]+\s+[0-9]+\s+\w+' <<<"$dump" | awk '{print $NF}' | grep -E -x "$later" || true)
if [ -n "$found" ]; then
  echo "imports functions that Windows 2000 lacks: $(echo $found)" >&2
  status=1
fi
[ $status -eq 0 ] && echo "imports of $(basename "$exe") load on Windows 2000"
exit $status
