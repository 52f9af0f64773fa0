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
  # Modules and edges are kept in the sorted order they come in, so that the
  # report is the same with every awk.
  function note(m) { if (!(m in known)) { known[m] = 1; order[++count] = m } }
  NF == 1 { note($1); next }
  {
    note($1)
    note($2)
    out[$1] = out[$1] " " $2
    from[++edges] = $1
    to[edges] = $2
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
        print "include circle: " next_ " -> " circle
        ++breaches
      } else if (!state[next_]) {
        visit(next_, depth + 1)
      }
    }
    state[m] = 2
  }
  END {
    for (e = 1; e <= edges; ++e) {
      if (isFloor(from[e]) && isWindowFolder(to[e])) {
        print "floor includes a window folder: " from[e] " -> " to[e]
        ++breaches
      }
    }
    for (i = 1; i <= count; ++i) if (!state[order[i]]) visit(order[i], 1)
    if (breaches) exit 1
    printf "include graph: %d modules, %d edges, no circle, the frame includes no window\n", count, edges
  }'
