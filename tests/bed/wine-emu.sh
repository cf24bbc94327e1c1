#!/usr/bin/env bash
# CTest's emulator for the Windows test executables.
if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
  echo "wine-emu: no test prefix or display; run the tests with 'make test'" >&2
  exit 2
fi
export WINEDEBUG=-all
exec wine "$@"
