#!/usr/bin/env bash
# render-pictures.sh NAME PROGRAM FOLDER [ARGUMENTS...]: runs a picture program under Wine
# as "PROGRAM FOLDER ARGUMENTS..." and keeps the pictures it saves there as
# FOLDER/NAME-*.png (the arguments that are files are handed over as Windows paths).
set -euo pipefail
name=$1
program=$2
folder=$(cd "$3" && pwd)
shift 3
arguments=()
for a in "$@"; do arguments+=("$(winepath -w "$a")"); done
rm -f "$folder"/"$name"-*.bmp "$folder"/"$name"-*.png
"$(dirname "$0")/wine-emu.sh" "$program" "$(winepath -w "$folder")" "${arguments[@]}"
for bmp in "$folder"/"$name"-*.bmp; do
  convert "$bmp" "${bmp%.bmp}.png"
  rm -f "$bmp"
done
