#!/usr/bin/env bash
# tools/loaded-run.sh ends every CPU hog it started: after a stage that
# passes, and when it is stopped by SIGTERM in the middle of a stage.
set -euo pipefail
script="$(dirname "$0")/../../tools/loaded-run.sh"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

survivors() {
  local pid alive=()
  for pid in $(cat "$1"); do kill -0 "$pid" 2>/dev/null && alive+=("$pid"); done
  echo "${alive[*]}"
}
check_ended() {
  local what=$1 file=$2
  [ "$(wc -l <"$file")" = 2 ] || { echo "$what: no hog pids written" >&2; exit 1; }
  local left
  left=$(survivors "$file")
  [ -z "$left" ] || { echo "$what: hogs still running: $left" >&2; kill $left; exit 1; }
}

bash "$script" --hogs 2 --stage true --pid-file "$scratch/passed" >/dev/null
check_ended "after a passing stage" "$scratch/passed"

bash "$script" --hogs 2 --stage 'sleep 300' --pid-file "$scratch/stopped" >/dev/null &
run=$!
for _ in $(seq 600); do [ -s "$scratch/stopped" ] && break; sleep 0.1; done
kill -TERM "$run"
status=0
wait "$run" || status=$?
[ "$status" = 143 ] || { echo "stopped run ended with $status, not 143" >&2; exit 1; }
check_ended "after SIGTERM" "$scratch/stopped"
echo "loaded-run ends its load"
