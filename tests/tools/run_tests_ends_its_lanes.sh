#!/usr/bin/env bash
# tools/run-tests.sh stopped while its lanes run (SIGTERM, SIGHUP, a
# terminal's Ctrl+C to its process group, a second signal while it ends its
# lanes) leaves none of their processes behind and exits 128 + the first
# signal; its wait for the plain lane's end mark gives up when that lane is
# gone without one. The lanes run stand-ins (PELOMAR_LANE_STAND_IN) that note
# their names and process groups and sleep, the sanitizer lane deaf to
# SIGTERM as a program test that takes it for an orderly end.
set -euo pipefail
script="$(dirname "$0")/../../tools/run-tests.sh"
scratch=$(mktemp -d)
run=""
# A run of the command still going when this test ends (failed or stopped)
# is stopped too, and with it its lanes.
end_run() {
  [ -z "$run" ] || kill -- "-$run" 2>/dev/null || true
  rm -rf "$scratch"
  [ -z "$run" ] || wait "$run" 2>/dev/null || true
}
trap end_run EXIT

fail() { echo "$*" >&2; exit 1; }
# in_groups GROUP...: the pids of the processes in these process groups that
# still run (an ended one whose parent ended too waits for init to reap it).
in_groups() {
  local file stat fields
  for file in /proc/[0-9]*/stat; do
    { read -r stat <"$file"; } 2>/dev/null || continue
    read -ra fields <<<"${stat##*) }"
    [ "${fields[0]}" != Z ] && [[ " $* " == *" ${fields[2]} "* ]] && echo "${file//[!0-9]/}"
  done
  return 0
}
# poll TENTHS CMD...: runs CMD every tenth of a second until it passes, at
# most TENTHS times.
poll() {
  local tries=$1
  shift
  for _ in $(seq "$tries"); do "$@" && return 0; sleep 0.1; done
  return 1
}
lines_in() { [ -f "$1" ] && [ "$(wc -l <"$1")" = "$2" ]; }
none_in_groups() { [ -z "$(in_groups "$@")" ]; }
gone() { ! kill -0 "$1" 2>/dev/null; }
# The command in a process group of its own, as a terminal starts it.
start() {
  set -m
  PELOMAR_LANE_STAND_IN=$1 bash "$script" >"$2" 2>&1 &
  run=$!
  set +m
}

# signals (a second one is sent once the plain lane has ended), to whom (the
# command or its group), the exit status.
stops=("TERM command 143" "HUP command 129" "INT group 130" "HUP,TERM command 129")
for row in "${stops[@]}"; do
  read -r signal whom expected <<<"$row"
  if [[ $signal == INT* ]] && (( 0x$(awk '/^SigIgn/ { print $2 }' /proc/self/status) & 2 )); then
    echo "SIGINT is ignored here (started in the background without job control): its row is skipped"
    continue
  fi
  groups="$scratch/$signal.groups"
  start "echo \$1 \$(cut -d' ' -f5 /proc/\$BASHPID/stat) >>'$groups'; [ \$1 != sanitizer ] || trap '' TERM; sleep 300" \
    "$scratch/$signal.out"
  poll 600 lines_in "$groups" 3 || fail "SIG$signal: the lanes did not start"
  mapfile -t lane_groups < <(awk '{ print $2 }' "$groups")
  target=$run
  [ "$whom" = group ] && target=-$run
  kill "-${signal%,*}" -- "$target"
  if [ "${signal#*,}" != "$signal" ]; then
    poll 300 none_in_groups "$(awk '$1 == "plain" { print $2 }' "$groups")" || fail "SIG$signal: the plain lane runs on"
    kill "-${signal#*,}" -- "$target"
  fi
  status=0
  wait "$run" || status=$?
  if ! poll 300 none_in_groups "$run" "${lane_groups[@]}"; then
    left=$(in_groups "$run" "${lane_groups[@]}")
    for group in "$run" "${lane_groups[@]}"; do kill -KILL -- "-$group" 2>/dev/null || true; done
    fail "SIG$signal: still running after the command ended:" $left
  fi
  [ "$status" = "$expected" ] || fail "SIG$signal: the command ended with $status, not $expected"
done

# The plain lane killed outright writes no end mark: the busy lane's wait
# for it gives up, and the command fails in both lanes.
start 'case $1 in plain) kill -KILL $BASHPID ;; busy) wait_for_lane plain ;; esac' "$scratch/killed.out"
poll 600 gone "$run" || fail "a wait for a killed lane does not give up"
status=0
wait "$run" || status=$?
grep -q "failed in the plain busy lane" "$scratch/killed.out" && [ "$status" = 1 ] ||
  fail "a killed plain lane: ended with $status and wrote: $(cat "$scratch/killed.out")"
echo "run-tests ends its lanes"
