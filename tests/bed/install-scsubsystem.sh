#!/usr/bin/env bash
# install-scsubsystem.sh BUILD: puts the test smart-card subsystem into the current
# WINEPREFIX, whose wineserver runs. Wine has neither an SCardSvr service nor a working
# WINSCARD.DLL; the doubles from BUILD/doubles stand in for them. BUILD is the flavor's
# build: its doubles have the bitness of the programs that load them (FLAVOR, 32 or 64).
set -euo pipefail
doubles=$(cd "$1/doubles" && pwd)
windows="$WINEPREFIX/drive_c/windows"
# The service manager starts a service's image from the 64-bit system32.
cp "$doubles/SCardSvr.exe" "$windows/system32/SCardSvr.exe"
if [ "${FLAVOR:-32}" = 32 ]; then
  # A 32-bit program asking for system32 gets syswow64: it needs the service program too.
  cp "$doubles/SCardSvr.exe" "$windows/syswow64/SCardSvr.exe"
  # For svchost.exe, when the image path is the svchost form: the manager starts the 32-bit
  # svchost for a service that a 32-bit program registered (Wine notes that as WOW64=1).
  cp "$doubles/SCardSvr.dll" "$windows/syswow64/SCardSvr.dll"
  # And the 64-bit svchost for one that a 64-bit program registered, as Windows' own setup.
  if [ -f "$doubles/x64/SCardSvr.dll" ]; then
    cp "$doubles/x64/SCardSvr.dll" "$windows/system32/SCardSvr.dll"
  fi
  library_dir=$windows/syswow64
else
  cp "$doubles/SCardSvr.dll" "$windows/system32/SCardSvr.dll"
  library_dir=$windows/system32
fi
# Over Wine's stub; Wine prefers its own copy unless told otherwise.
cp "$doubles/winscard.dll" "$library_dir/winscard.dll"
wine reg add 'HKCU\Software\Wine\DllOverrides' /v winscard /d native,builtin /f >/dev/null 2>&1
wine "$library_dir/SCardSvr.exe" install </dev/null >/dev/null 2>&1
wine net start ScardSvr </dev/null >/dev/null 2>&1
