#!/usr/bin/env bash
# render-gallery.sh PROGRAM PNG: runs a gallery program of the tests under Wine and keeps
# what it drew as a PNG for a person to look at.
set -euo pipefail
bmp="${2%.png}.bmp"
rm -f "$bmp" "$2"
"$(dirname "$0")/wine-emu.sh" "$1" "$(winepath -w "$bmp")"
convert "$bmp" "$2"
rm -f "$bmp"
