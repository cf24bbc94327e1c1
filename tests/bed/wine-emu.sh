#!/usr/bin/env bash
# CTest's emulator for the Windows test executables.
if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
  echo "wine-emu: no test prefix or display; run the tests with 'make test'" >&2
  exit 2
fi
export WINEDEBUG=-all
# Every process a test starts keeps the test's Unix stderr, whatever Windows handles it is
# given; CTest would wait for a long-lived one (a service manager restarted by the test)
# until the whole run ends. The test's stderr goes through a file instead.
errors=$(mktemp)
wine "$@" 2>"$errors"
status=$?
cat "$errors" >&2
rm -f "$errors"
exit $status
