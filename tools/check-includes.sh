#!/usr/bin/env bash
# Checks the include graph of the program's sources (default: app/).
#
# A header and its source file are one module (frame/frmMdi.h and
# frame/frmMdi.cpp are the module frame/frmMdi); module A depends on module B
# when a file of A includes a header of B. Two rules:
#   1. no circle: no module depends on itself through other modules;
#   2. the frame and the data classes (frame/, types/) depend on no window
#      folder (map/, display/, recording/, records/): windows reach the frame
#      through what they register, never the other way round.
# Prints every breach and fails, or prints the module and edge counts.
set -euo pipefail
root=${1:-"$(dirname "$0")/../app"}
cd "$root"

find . -name '*.h' -o -name '*.cpp' | sed 's#^\./##' | sort | while read -r file; do
  module=${file%.*}
  # Only includes that name a file of the tree are edges.
  sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file" | while read -r included; do
    [ -f "$included" ] || continue
    target=${included%.*}
    [ "$target" = "$module" ] || printf '%s %s\n' "$module" "$target"
  done
  printf '%s\n' "$module"
done | sort -u | awk '
  NF == 1 { modules[$1] = 1; next }
  {
    modules[$1] = 1
    modules[$2] = 1
    if (!(($1, $2) in edge)) {
      edge[$1, $2] = 1
      out[$1] = out[$1] " " $2
      ++edges
    }
  }
  function isWindowFolder(m) { return m ~ /^(map|display|recording|records)\// }
  function isFloor(m) { return m ~ /^(frame|types)\// }
  # Depth-first walk; state 1 = on the current path, 2 = done.
  function visit(m, depth,    n, i, next_, list, k, circle) {
    state[m] = 1
    path[depth] = m
    n = split(out[m], list, " ")
    for (i = 1; i <= n; ++i) {
      next_ = list[i]
      if (state[next_] == 1) {
        circle = next_
        for (k = depth; k >= 1 && path[k] != next_; --k) circle = path[k] " -> " circle
        circle = next_ " -> " circle
        print "include circle: " circle
        ++breaches
      } else if (state[next_] == 0) {
        visit(next_, depth + 1)
      }
    }
    state[m] = 2
  }
  END {
    for (key in edge) {
      split(key, pair, SUBSEP)
      if (isFloor(pair[1]) && isWindowFolder(pair[2])) {
        print "floor includes a window folder: " pair[1] " -> " pair[2]
        ++breaches
      }
    }
    count = 0
    for (m in modules) { state[m] = 0; ++count }
    for (m in modules) if (state[m] == 0) visit(m, 1)
    if (breaches) exit 1
    printf "include graph: %d modules, %d edges, no circle, the frame includes no window\n", count, edges
  }'
