#!/usr/bin/env bash
# render-dialogs.sh PROGRAM FOLDER: runs the dialog gallery under Wine and keeps its
# pictures as FOLDER/dialog-*.png.
set -euo pipefail
folder=$(cd "$2" && pwd)
rm -f "$folder"/dialog-*.bmp "$folder"/dialog-*.png
"$(dirname "$0")/wine-emu.sh" "$1" "$(winepath -w "$folder")"
for bmp in "$folder"/dialog-*.bmp; do
  convert "$bmp" "${bmp%.bmp}.png"
  rm -f "$bmp"
done
