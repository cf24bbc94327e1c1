#!/usr/bin/env bash
# flavored.sh run|test|bench [ARGS...]: what 'make run', 'make test' and 'make bench' do.
# Chooses the flavor (scripts/flavor.sh), installs what is missing, builds the shipped
# 32-bit cardmend.exe in build/ and, in the 64-bit flavor, the same sources as 64-bit
# programs in build/x64/, then runs, tests or measures the flavor's build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. scripts/flavor.sh
choose_flavor
scripts/deps.sh

configure() {
  local dir=$1 toolchain=$2
  shift 2
  [ -f "$dir/build.ninja" ] ||
    cmake -S . -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain" \
      --log-level=WARNING "$@"
}

configure build mingw-i686.cmake
if [ "$FLAVOR" = 32 ]; then
  cmake --build build
  flavor_build=$root/build
else
  cmake --build build --target cardmend
  configure build/x64 mingw-x86_64.cmake -DCARDMEND_SHIPPED_EXE="$root/build/cardmend.exe"
  cmake --build build/x64
  flavor_build=$root/build/x64
fi
use_flavor_wine "$flavor_build/wine-bin"

action=$1
shift
case "$action" in
  run) exec scripts/run.sh "$flavor_build" ;;
  test) exec tests/bed/run-tests.sh "$flavor_build" "$@" ;;
  bench) exec bench/run.sh "$flavor_build" ;;
  *) echo "flavored.sh: run, test or bench" >&2; exit 2 ;;
esac
