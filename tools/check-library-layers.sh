#!/usr/bin/env bash
# Checks that the library's folders (default: library/) are floors: a file
# includes headers of its own floor or of the floors below it, never of a
# floor above. From the ground up:
#   base, ini, tables, store, adapter, q7, files, engine, exports
# The public headers (include/) stand outside the floors. An include that
# names a file of no floor (a system header) is not an arrow.
# Prints every upward include as "file:line: includes ..." and fails, or
# prints the folder arrows found.
set -euo pipefail
root=${1:-"$(dirname "$0")/../library"}
cd "$root"
floors="base ini tables store adapter q7 files engine exports"

find . -name '*.h' -o -name '*.cpp' | sed 's#^\./##' | sort | while read -r file; do
  # file, line number and included path of every quoted include
  sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/;T;=;p' "$file" | paste - - |
    while read -r number included; do printf '%s %s %s\n' "$file" "$number" "$included"; done
done | awk -v floors="$floors" '
  BEGIN { n = split(floors, list, " "); for (i = 1; i <= n; ++i) level[list[i]] = i }
  function folderOf(path,    parts) { split(path, parts, "/"); return parts[1] }
  {
    from = folderOf($1)
    to = folderOf($3)
    if (!(from in level) || !(to in level) || from == to) next
    arrow = from " -> " to
    if (!(arrow in seen)) { seen[arrow] = 1; arrows[++count] = arrow }
    if (level[to] > level[from]) {
      print $1 ":" $2 ": includes " $3 " (" from " may not include " to ")"
      if (!(arrow in upward)) { upward[arrow] = 1; ++up }
    }
  }
  END {
    if (up) { printf "%d of %d folder arrows point up\n", up, count; exit 1 }
    printf "library floors: %d folder arrows, all pointing down\n", count
  }'
