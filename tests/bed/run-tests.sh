#!/usr/bin/env bash
# Runs every test executable under Wine: one fresh prefix and one Xvfb display for the
# whole run, one wineserver kept alive from the first test to the last.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
. "$root/scripts/wine-env.sh"

cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  stop_xvfb
}
trap cleanup EXIT

# The user locales that the language tests start the wizard under, made without root into
# the build folder (glibc finds them through LOCPATH).
mkdir -p "$build/locales"
for locale in de_AT fr_FR; do
  [ -d "$build/locales/$locale.UTF-8" ] ||
    localedef -i "$locale" -f UTF-8 "$build/locales/$locale.UTF-8" >/dev/null 2>&1 || true
done

start_xvfb
make_prefix "$build/test-prefix" 1280x1024
wineserver -p
# Start the prefix's own processes (services, the desktop) now, away from CTest's output
# pipes: a test's pipe held open by one of them would never reach end-of-file.
wine cmd /c exit </dev/null >/dev/null 2>&1
"$root/tests/bed/install-scsubsystem.sh" "$build"
ctest --test-dir "$build" --output-on-failure --no-tests=error "${@:2}"
