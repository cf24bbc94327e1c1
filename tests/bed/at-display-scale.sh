#!/usr/bin/env bash
# at-display-scale.sh DPI FOLDER PROGRAM [ARGUMENTS...]: runs a test program under Wine in a
# copy of the test prefix whose display reads DPI pixels per inch, and turns the pictures
# it leaves in FOLDER as *-DPI.bmp into PNG files. Wine reads the scale (LogPixels) only
# when its server starts, hence a prefix of its own, hard-linked from the test prefix but
# for the registry files, which Wine writes anew.
set -euo pipefail
dpi=$1
folder=$(cd "$2" && pwd)
shift 2
if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
  echo "at-display-scale: no test prefix or display; run the tests with 'make test'" >&2
  exit 2
fi
scratch=$(mktemp -d)
copy=$scratch/prefix
cleanup() {
  WINEPREFIX=$copy wineserver -k >/dev/null 2>&1 || true
  rm -rf "$scratch"
}
trap cleanup EXIT
cp -al "$WINEPREFIX" "$copy"
for hive in system.reg user.reg userdef.reg; do
  [ -f "$WINEPREFIX/$hive" ] && cp --remove-destination "$WINEPREFIX/$hive" "$copy/$hive"
done
export WINEPREFIX=$copy WINEDEBUG=-all
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
  </dev/null >/dev/null 2>&1
wineserver -w
wineserver -p
wine cmd /c exit </dev/null >/dev/null 2>&1
rm -f "$folder"/*-"$dpi".bmp
CARDMEND_TEST_DPI=$dpi "$(dirname "$0")/wine-emu.sh" "$@"
for bmp in "$folder"/*-"$dpi".bmp; do
  [ -f "$bmp" ] || continue
  convert "$bmp" "${bmp%.bmp}.png"
  rm -f "$bmp"
done
