#!/usr/bin/env bash
# Starts the wizard under Wine in a prefix of its own below the build folder. Without a
# display it uses a virtual one and saves a screenshot once the window shows.
# SMARTCARD=healthy puts the test bed's simulated smart-card subsystem into that prefix;
# SMARTCARD=broken does too and then gives the service a wrong account, which Start repairs
# (hold Ctrl while pressing Start to see the trace).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
. "$root/scripts/wine-env.sh"

headless=
if [ -z "${DISPLAY:-}" ]; then
  headless=1
  start_xvfb
fi
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  stop_xvfb
}
trap cleanup EXIT

prefix=$build/run-prefix
if [ -f "$prefix/system.reg" ]; then
  export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all
else
  make_prefix "$prefix" 800x600
fi

case "${SMARTCARD:-}" in
  "") ;;
  healthy|broken)
    wineserver -p
    "$root/tests/bed/install-scsubsystem.sh" "$build"
    if [ "$SMARTCARD" = broken ]; then
      wine reg add 'HKLM\SYSTEM\CurrentControlSet\Services\SCardSvr' /v ObjectName \
        /d LocalSystem /f </dev/null >/dev/null 2>&1
    fi ;;
  *) echo "run: SMARTCARD is healthy or broken" >&2; exit 2 ;;
esac

wine "$build/cardmend.exe" &
app=$!
if [ -n "$headless" ]; then
  geometry=$(wine "$build/tests/waitwindow.exe" TCardmendMainForm 30000 | tr -d '\r')
  desktop=$(xwininfo -root -tree | awk '/Wine desktop/ {print $1; exit}')
  import -display "$DISPLAY" -window "${desktop:-root}" ${geometry:+-crop "$geometry"} \
    "$build/screenshot.png"
  echo "screenshot: $build/screenshot.png"
fi
wait "$app"
