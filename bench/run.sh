#!/usr/bin/env bash
# run.sh BUILD_DIR: Cardmend's benchmark, on demand only ('make bench'), of the flavor's
# build (scripts/flavor.sh). Prints the size of the shipped cardmend.exe, the start to the
# first painted window beside that of bench/minimal.exe, and the CPU share of a Delay beside
# that of a polling wait. Set BENCH_RUNS to change the number of starts per program (10).
# It also prints the cost of one rich-text label paint beside a plain DrawText of the same
# words, the theme's build time beside a pixel-by-pixel build of the same pictures, one
# paint of each owner-drawn control, the time from showing the message dialog to its first
# paint beside MessageBoxW's, the wizard's GDI and USER objects before and after 50 language
# switches and 50 hints, and whole repair runs (BENCH_REPAIRS, 5): their wall time against
# their pauses, their CPU share and their peak memory. Before all that, the wizard's start
# phase by phase (bench/startphases.exe, the median of each phase over the starts).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
runs=${BENCH_RUNS:-10}
. "$root/scripts/wine-env.sh"

repairs=${BENCH_REPAIRS:-5}
for exe in cardmend.exe bench/minimal.exe bench/startup.exe bench/startphases.exe bench/delaycpu.exe \
           bench/labelpaint.exe bench/controlpaint.exe bench/dialogshow.exe bench/objectcount.exe \
           bench/repaircpu.exe; do
  [ -f "$build/$exe" ] || { echo "$build/$exe is missing: build first" >&2; exit 1; }
done

cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  stop_xvfb
}
trap cleanup EXIT

start_xvfb
make_prefix "$build/bench-prefix" 1024x768
wineserver -p
wine cmd /c exit </dev/null >/dev/null 2>&1

# The size is the shipped 32-bit exe's in either flavor; the times are the flavor's programs.
size=$(stat -c %s "$root/build/cardmend.exe")
startup=$(wine "$build/bench/startup.exe" "$runs" \
  "$(winepath -w "$build/cardmend.exe")" TCardmendMainForm \
  "$(winepath -w "$build/bench/minimal.exe")" TMinimalWindow | tr -d '\r')
phases=$(for _ in $(seq "$runs"); do wine "$build/bench/startphases.exe" </dev/null | tr -d '\r'; done)
cpu=$(wine "$build/bench/delaycpu.exe" 3000 | tr -d '\r')
label=$(wine "$build/bench/labelpaint.exe" | tr -d '\r')
controls=$(wine "$build/bench/controlpaint.exe" | tr -d '\r')
dialogs=$(wine "$build/bench/dialogshow.exe" | tr -d '\r')
objects=$(wine "$build/bench/objectcount.exe" 50 | tr -d '\r' || true)
repair=$(for _ in $(seq "$repairs"); do wine "$build/bench/repaircpu.exe" | tr -d '\r'; done)

echo "measured: the ${FLAVOR:-32}-bit flavor's programs in ${build#"$root"/}/"
# Sorts a[1..m] in place and returns its median.
sorted_median='function median(a, m,   i, j, t) {
  for (i = 2; i <= m; i++) for (j = i; j > 1 && a[j - 1] > a[j]; j--) { t = a[j]; a[j] = a[j - 1]; a[j - 1] = t }
  return m % 2 ? a[(m + 1) / 2] : (a[m / 2] + a[m / 2 + 1]) / 2
}'
echo "the wizard's start, phase by phase (median of $runs starts, ms):"
awk "$sorted_median"'{ name = $0; sub(/^[^ ]+ /, "", name); if (!(name in seen)) { seen[name] = ++n; order[n] = name }
       k = seen[name]; v[k, ++c[k]] = $1 }
     END {
       for (k = 1; k <= n; k++) {
         for (i = 1; i <= c[k]; i++) a[i] = v[k, i]
         printf "  %8.2f  %s\n", median(a, c[k]), order[k]
       }
     }' <<<"$phases"
awk -v size="$size" -v startup="$startup" -v cpu="$cpu" -v label="$label" -v controls="$controls" -v dialogs="$dialogs" -v objects="$objects" -v repair="$repair" "$sorted_median"'BEGIN {
  n = split(startup, s, "\n")
  for (i = 1; i <= n; i++) { split(s[i], f, " "); med[f[1]] = f[2]; lo[f[1]] = f[3]; hi[f[1]] = f[4]; cnt = f[5] }
  n = split(cpu, c, "\n")
  for (i = 1; i <= n; i++) { split(c[i], f, " "); wall[f[1]] = f[2]; used[f[1]] = f[3]; pct[f[1]] = f[4] }

  printf "%-36s %s\n", "cardmend.exe size", sprintf("%d bytes (%.1f KiB)", size, size / 1024)
  printf "%-36s %8.1f ms  (min %.1f, max %.1f, %d runs)\n", "start to first paint, cardmend.exe",
         med["cardmend.exe"], lo["cardmend.exe"], hi["cardmend.exe"], cnt
  printf "%-36s %8.1f ms  (min %.1f, max %.1f, %d runs)\n", "start to first paint, minimal.exe",
         med["minimal.exe"], lo["minimal.exe"], hi["minimal.exe"], cnt
  printf "%-36s %8.2f  (goal at most 1.1: %s)\n", "ratio cardmend/minimal (medians)",
         med["cardmend.exe"] / med["minimal.exe"], med["cardmend.exe"] <= 1.1 * med["minimal.exe"] ? "met" : "MISSED"
  printf "%-36s %8.2f %%  (%.1f ms CPU in %.1f ms; target under 2 %%: %s)\n", "CPU during Delay(3000)",
         pct["delay"], used["delay"], wall["delay"], pct["delay"] < 2 ? "met" : "MISSED"
  printf "%-36s %8.2f %%  (%.1f ms CPU in %.1f ms)\n", "CPU during a polling wait, 3000 ms",
         pct["spin"], used["spin"], wall["spin"]
  n = split(label, l, "\n")
  for (i = 1; i <= n; i++) { split(l[i], f, " "); paint[f[1]] = f[2] }
  printf "%-36s %8.1f us\n", "rich-text label, 10-line caption", paint["label"]
  printf "%-36s %8.1f us\n", "plain DrawText, same words", paint["plain"]
  printf "%-36s %8.2f  (target under 3: %s)\n", "ratio label/plain", paint["label"] / paint["plain"],
         paint["label"] < 3 * paint["plain"] ? "met" : "MISSED"
  n = split(controls, c, "\n")
  for (i = 1; i <= n; i++) { split(c[i], f, " "); us[f[1]] = f[2]; order[i] = f[1] }
  printf "%-36s %8.1f us  (target under 5 ms: %s)\n", "theme build, all pictures", us["theme"],
         us["theme"] < 5000 ? "met" : "MISSED"
  printf "%-36s %8.1f us  (%.0f times the theme build)\n", "same pictures set pixel by pixel",
         us["pixelwise"], us["pixelwise"] / us["theme"]
  for (i = 3; i <= n; i++) printf "%-36s %8.1f us\n", "one paint: " order[i], us[order[i]]
  n = split(dialogs, d, "\n")
  for (i = 1; i <= n; i++) { split(d[i], f, " "); show[f[1]] = f[2] }
  printf "%-36s %8.1f ms\n", "message dialog, show to first paint", show["vexmessage"] / 1000
  printf "%-36s %8.1f ms\n", "MessageBoxW, show to first paint", show["messagebox"] / 1000
  printf "%-36s %8.2f  (target at most 1: %s)\n", "ratio message dialog/MessageBoxW",
         show["vexmessage"] / show["messagebox"], show["vexmessage"] <= show["messagebox"] ? "met" : "MISSED"
  n = split(objects, o, "\n")
  for (i = 1; i <= n; i++) { split(o[i], f, " "); before[f[1]] = f[2]; after[f[1]] = f[3] }
  printf "%-36s %d -> %d  (must not grow: %s)\n", "GDI objects, 50 switches + 50 hints",
         before["gdi"], after["gdi"], after["gdi"] <= before["gdi"] ? "kept" : "GREW"
  printf "%-36s %d -> %d  (must not grow: %s)\n", "USER objects, the same",
         before["user"], after["user"], after["user"] <= before["user"] ? "kept" : "GREW"
  n = split(repair, r, "\n")
  runs = 0
  for (i = 1; i <= n; i++) {
    split(r[i], f, " ")
    if (f[1] == "wall") runs++
    run[f[1], runs] = f[2]
  }
  for (i = 1; i <= runs; i++) { share[i] = 100 * run["cpu", i] / run["wall", i]; beyond[i] = run["wall", i] - run["delays", i] }
  mid = median(share, runs)
  midBeyond = median(beyond, runs)
  printf "%-36s %8.0f ms  (its pauses %.0f ms; beyond them median %.0f ms, min %.0f, max %.0f)\n",
         "repair run, wall time", run["wall", 1], run["delays", 1], midBeyond, beyond[1], beyond[runs]
  printf "%-36s %8.2f %%  (min %.2f, max %.2f, %d runs; goal under 2 %%: %s)\n", "repair run, CPU share",
         mid, share[1], share[runs], runs, mid < 2 ? "met" : "MISSED"
  printf "%-36s %8d KiB\n", "repair run, peak working set", run["peak", 1]
}'
