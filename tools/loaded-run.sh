#!/usr/bin/env bash
# The test command's program and simulator stages on a busy machine: starts
# two CPU hogs per core of its own, runs the program tests of the plain build,
# the program tests under AddressSanitizer+UndefinedBehaviorSanitizer and the
# library tests (those over the adapter simulator among them) of the plain
# build, prints each stage's time and ends its hogs by their process ids
# however it ends (done, failed, Ctrl+C, SIGTERM). A test that waits for a
# guessed time instead of its condition fails here. Not part of CI's run.
#
#   bash tools/loaded-run.sh [--repeat N] [--hogs N]
#       --repeat N   each stage's tests run until they fail, at most N times
#                    (ctest --repeat until-fail:N; default 1)
#       --hogs N     the number of CPU hogs (default 2 x nproc)
#       --stage CMD  runs only CMD (through bash -c) as the one stage
#       --pid-file F writes the hogs' process ids into F, one a line
#
# Builds what is missing first (build-tests/ and build-asan/ as
# tools/build-folders.sh makes them), before the load starts. It installs no
# package: one that those folders need and the system lacks is named with
# the line that installs it (tools/system-packages.sh), and nothing is built.
# Exits non-zero when a stage failed.
set -euo pipefail
# Each background job in its own process group: a stage is ended with
# everything it started.
set -m
cd "$(dirname "$0")/.."
jobs=$(nproc)
repeat=1
hogs=$((2 * jobs))
only_stage=""
pid_file=""
while [ $# -gt 0 ]; do
  case "$1" in
    --repeat) repeat=$2; shift 2 ;;
    --hogs) hogs=$2; shift 2 ;;
    --stage) only_stage=$2; shift 2 ;;
    --pid-file) pid_file=$2; shift 2 ;;
    *) echo "loaded-run: unknown argument $1 (see the head of $0)" >&2; exit 2 ;;
  esac
done

export TZ=UTC QT_QPA_PLATFORM=offscreen

hog_pids=()
stage_pid=""
end_load() {
  # Every job still running is ended with its process group: the stage too
  # when the signal came between its start and the note of its pid.
  local job
  for job in $stage_pid $(jobs -p); do kill -- "-$job" 2>/dev/null || true; done
  for pid in "${hog_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${hog_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  hog_pids=()
}
trap end_load EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

source tools/build-folders.sh
source tools/system-packages.sh
build_missing() {
  [ -n "$only_stage" ] && return
  check_packages loaded-run "${folder_packages[@]}" || exit 1
  [ -f build-tests/CMakeCache.txt ] || configure_plain
  cmake --build build-tests -j "$jobs"
  [ -f build-asan/CMakeCache.txt ] || configure_asan
  cmake --build build-asan -j "$jobs" --target app_tests
}

start_load() {
  for _ in $(seq "$hogs"); do
    bash -c 'while :; do :; done' &
    hog_pids+=("$!")
  done
  [ -n "$pid_file" ] && printf '%s\n' "${hog_pids[@]}" >"$pid_file"
  echo "loaded-run: $hogs CPU hogs on $jobs cores (pids ${hog_pids[*]})"
}

failed=()
timings=()
# Runs one stage in the background, so that a signal to this script is
# handled at once rather than after the stage.
stage() {
  local name=$1
  shift
  printf '\n==== %s (under load) ====\n' "$name"
  local start=$SECONDS status=0
  "$@" &
  stage_pid=$!
  wait "$stage_pid" || status=$?
  stage_pid=""
  timings+=("$(printf '%-52s %5d s  %s' "$name" $((SECONDS - start)) "$([ "$status" = 0 ] && echo passed || echo FAILED)")")
  [ "$status" = 0 ] || failed+=("$name")
}

ctest_args=(--output-on-failure -j "$jobs" --repeat "until-fail:$repeat")
program_plain() { (cd build-tests && ctest "${ctest_args[@]}" --no-tests=error -L app); }
program_asan() { ctest_program_asan "${ctest_args[@]}"; }
library_plain() { (cd build-tests && ctest "${ctest_args[@]}" --no-tests=error -L library); }

build_missing
start_load
if [ -n "$only_stage" ]; then
  stage "$only_stage" bash -c "$only_stage"
else
  stage "program tests" program_plain
  stage "program tests under AddressSanitizer" program_asan
  stage "library tests (the simulator's among them)" library_plain
fi
end_load

printf '\n==== stage times under %d hogs ====\n' "$hogs"
printf '%s\n' "${timings[@]}"
printf 'total %d s\n' "$SECONDS"
if [ ${#failed[@]} -gt 0 ]; then
  echo "loaded-run: failed: ${failed[*]}" >&2
  exit 1
fi
