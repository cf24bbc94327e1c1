#!/usr/bin/env bash
# check-reproducible.sh ROOT WORK: two clean builds of the shipped cardmend.exe from the same
# sources, in two folders of different names and one after the other, give the same bytes.
# Each copy leaves out build/ and .git; each build configures and builds only the exe.
set -euo pipefail
root=$(cd "$1" && pwd)
work=$2
rm -rf "$work"
trap 'rm -rf "$work"' EXIT
for copy in first second-copy; do
  mkdir -p "$work/$copy"
  tar -C "$root" --exclude=./build --exclude=./.git -cf - . | tar -C "$work/$copy" -xf -
  cmake -S "$work/$copy" -B "$work/$copy/build" -G Ninja --log-level=WARNING \
    -DCMAKE_TOOLCHAIN_FILE="$work/$copy/cmake/mingw-i686.cmake" -DCARDMEND_TESTS=OFF >/dev/null
  cmake --build "$work/$copy/build" --target cardmend >/dev/null
done
a=$work/first/build/cardmend.exe
b=$work/second-copy/build/cardmend.exe
if ! cmp -s "$a" "$b"; then
  echo "two builds of the same sources differ:" >&2
  cmp -l "$a" "$b" | head -20 >&2
  exit 1
fi
echo "two builds in two folders give the same cardmend.exe: $(sha256sum "$a" | cut -d' ' -f1)"
