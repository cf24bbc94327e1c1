#!/usr/bin/env bash
# check-layers.sh ROOT: the program's units include one another in one direction only.
# A unit is a .h/.cpp pair. Folders rank sysutil < ui < controls < dialogs < app; a unit
# includes none of a higher folder, the repair engine (app/repair) includes nothing of the
# window layers nor of the wizard, and no units include each other in a circle.
set -euo pipefail
cd "$1"
edges=$(find app ui controls dialogs sysutil -name '*.h' -o -name '*.cpp' | sort |
        xargs grep -H '^#include "' |
        sed -E 's/^([^:]+)\.(h|cpp):#include "([^"]+)\.h".*/\1 \3/' |
        awk '$1 != $2 && $2 ~ /^(app|ui|controls|dialogs|sysutil)\//' | sort -u)

rank() {
  case $1 in
    sysutil/*) echo 0 ;; ui/*) echo 1 ;; controls/*) echo 2 ;; dialogs/*) echo 3 ;; *) echo 4 ;;
  esac
}
status=0
while read -r from to; do
  [ -z "$from" ] && continue
  if [ "$(rank "$to")" -gt "$(rank "$from")" ]; then
    echo "$from includes $to, a layer above it" >&2
    status=1
  fi
  if [[ $from == app/repair/* && ! ( $to == app/repair/* || $to == sysutil/* || $to == app/texts ) ]]; then
    echo "$from, of the repair engine, includes $to" >&2
    status=1
  fi
done <<<"$edges"

# Units in a circle are what remains when units that include nothing left, and units that
# nothing left includes, are taken away round after round.
circle=$(awk '
  { edge[NR] = $1 " " $2; node[$1]; node[$2] }
  END {
    do {
      for (n in node) { out[n] = 0; inc[n] = 0 }
      for (e in edge) { split(edge[e], p, " "); out[p[1]]++; inc[p[2]]++ }
      removed = 0
      for (n in node) if (out[n] == 0 || inc[n] == 0) { delete node[n]; removed = 1 }
      for (e in edge) { split(edge[e], p, " "); if (!(p[1] in node) || !(p[2] in node)) delete edge[e] }
    } while (removed)
    for (n in node) print n
  }' <<<"$edges" | sort)
if [ -n "$circle" ]; then
  echo "units in or between circles of includes: $(echo $circle)" >&2
  status=1
fi
[ $status -eq 0 ] && echo "the units include one another in one direction"
exit $status
