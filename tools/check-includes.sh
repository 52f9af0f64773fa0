#!/usr/bin/env bash
# Checks the include graph of the program's sources (default: app/).
#
# A header and its source file are one module (frame/frmMdi.h and
# frame/frmMdi.cpp are the module frame/frmMdi); module A depends on module B
# when a file of A includes a header of B. Two rules:
#   1. the folders stand in one order, and a file includes headers of its own
#      folder or of a folder after it, never of one before it:
#        records, map, recording, display, frame, types
#      so the windows reach the frame and the data classes, and the frame
#      knows the windows only through what they register;
#   2. no circle: no module depends on itself through other modules.
# Files outside these folders (main.cpp) stand above them all. An include
# that names no file of the tree (a system header) is no edge.
# Prints every upward include as "file:line: includes ..." and every circle,
# and fails, or prints the module and edge counts.
set -euo pipefail
root=${1:-"$(dirname "$0")/../app"}
cd "$root"
folders="records map recording display frame types"

find . -name '*.h' -o -name '*.cpp' | sed 's#^\./##' | sort | while read -r file; do
  printf 'file %s\n' "$file"
  # line number and included path of every quoted include
  sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/;T;=;p' "$file" | paste - - |
    while read -r number included; do
      if [ -f "$included" ]; then printf 'include %s %s %s\n' "$file" "$number" "$included"; fi
    done
done | awk -v folders="$folders" '
  BEGIN { n = split(folders, list, " "); for (i = 1; i <= n; ++i) level[list[i]] = i }
  function moduleOf(path) { sub(/\.[^.\/]*$/, "", path); return path }
  function folderOf(path,    parts) { split(path, parts, "/"); return parts[1] }
  # Modules and edges are kept in the sorted order they come in, so that the
  # report is the same with every awk.
  function note(m) { if (!(m in known)) { known[m] = 1; order[++count] = m } }
  $1 == "file" { note(moduleOf($2)); next }
  {
    from = folderOf($2)
    to = folderOf($4)
    if ((from in level) && (to in level) && level[to] < level[from]) {
      print $2 ":" $3 ": includes " $4 " (" from " may not include " to ")"
      ++breaches
    }
    source = moduleOf($2)
    target = moduleOf($4)
    if (source == target || (source SUBSEP target) in edge) next
    edge[source, target] = 1
    note(target)
    out[source] = out[source] " " target
    ++edges
  }
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
    for (i = 1; i <= count; ++i) if (!state[order[i]]) visit(order[i], 1)
    if (breaches) exit 1
    printf "include graph: %d modules, %d edges, no circle, no include up the folders %s\n", count, edges, folders
  }'
