#!/usr/bin/env bash
# Installs what the build needs (as tools/system-packages.sh says: as root, or
# the missing packages through sudo), builds everything with warnings as
# errors and runs every test. After the plain build (library, program,
# benchmarks, the include checks) three lanes run side by side: the plain
# build's tests, the library tests once shuffled and the main menu's keys
# under Xvfb with a window manager; the build under
# AddressSanitizer+UndefinedBehaviorSanitizer and its library and program
# tests (the exports' argument edges among them); the library tests under
# ThreadSanitizer followed by the fuzz targets for a short while (the
# program's readers start from the files the program tests wrote). The build
# folders are made as tools/build-folders.sh says: build-tests/, build-asan/,
# build-tsan/ and build-fuzz/, none of them the README's build/.
#
# Each lane runs in a process group of its own, which is ended with all it
# started however the command ends (done, failed, Ctrl+C, SIGTERM, SIGHUP).
#
# PELOMAR_LANE_STAND_IN=CMD is for the test of that ending
# (tests/tools/run_tests_ends_its_lanes.sh): it skips the install and the
# plain build and has each lane run CMD, a command of the lane's own shell
# with the lane's name in $1, in place of its stages.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
stand_in=${PELOMAR_LANE_STAND_IN:-}

# The build folders, and the packages they need.
source tools/build-folders.sh
source tools/system-packages.sh
# The folders' packages and the Xvfb screen with openbox and xdotool for the
# main menu's keys.
if [ -z "$stand_in" ]; then
  get_packages run-tests "${folder_packages[@]}" xvfb xauth openbox xdotool || exit 1
fi

export TZ=UTC QT_QPA_PLATFORM=offscreen

# Each stage's time and the total are printed at the end.
stage_name="" stage_start=0 stage_times=()
end_stage() {
  [ -n "$stage_name" ] && stage_times+=("$(printf '%5d s  %s' $((SECONDS - stage_start)) "$stage_name")")
  stage_name=""
}
step() {
  end_stage
  stage_name="$*" stage_start=$SECONDS
  printf '\n==== %s (at %d s) ====\n' "$*" "$SECONDS"
}
seeds="$(pwd)/build-tests/fuzz-seeds"

lanes=$(mktemp -d)
declare -A lane_pid=()
# signal_groups SIGNAL GROUP...: sends SIGNAL to every process of the groups.
signal_groups() {
  local signal=$1 group
  shift
  for group; do kill "-$signal" -- "-$group" 2>/dev/null || true; done
}
# groups_alive GROUP...: whether a process of the groups is left.
groups_alive() {
  local group
  for group; do kill -0 -- "-$group" 2>/dev/null && return 0; done
  return 1
}
# Every lane (and the plain build before them) is ended with its process
# group, the builds and tests it started among them: SIGTERM, then SIGKILL for
# what is left 3 s later (a program test takes SIGTERM as the program's
# orderly end and goes on to its own time-outs).
# The lanes are waited for before their folder goes; a second stop signal
# meanwhile is ignored, lest it cut the ending short. A job not yet noted in
# lane_pid (the signal came right after its start) is among `jobs -p`.
end_lanes() {
  local groups pid
  trap '' INT TERM HUP
  groups=("${lane_pid[@]}" $(jobs -p))
  signal_groups TERM "${groups[@]}"
  for _ in $(seq 30); do groups_alive "${groups[@]}" || break; sleep 0.1; done
  signal_groups KILL "${groups[@]}"
  for pid in "${lane_pid[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$lanes"
}
trap end_lanes EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

if [ -z "$stand_in" ]; then
  step "plain build"
  # The tests and benchmarks are asked for: a machine without their tools
  # stops here rather than skipping them. The build runs in a process group
  # of its own too, so that a stop signal ends it as it ends the lanes.
  set -m
  { configure_plain && cmake --build build-tests -j "$jobs"; } </dev/null &
  lane_pid[build]=$!
  set +m
  wait "${lane_pid[build]}"
  end_stage
fi

# From here three lanes run side by side, each stopping at its first failure
# and writing a log of its own, printed whole lane by lane once that lane and
# those before it have ended. The plain build's tests, which mostly wait on
# the simulator and on timers, run at the normal priority; the sanitizer
# builds fill the cores meanwhile, the AddressSanitizer one (whose tests come
# next) ahead of the thread-sanitizer one and the fuzz targets, whose builds
# run a little lower (nice 5; not lowest, which on a machine that other work
# keeps busy would hardly run).
plain_lane() {
  step "plain build's tests"
  rm -rf "$seeds"
  (cd build-tests && PELOMAR_FUZZ_SEEDS="$seeds" ctest --output-on-failure -j "$jobs")

  # The library tests once more in one process, in a random order: a test
  # that leans on what an earlier one left behind fails here (the seed is
  # printed, --gtest_random_seed repeats the order).
  step "library tests shuffled"
  (cd build-tests/tests && ../bin/library_tests --gtest_shuffle --gtest_brief=1)

  # Offscreen tests see no window manager: the main menu's keys are pressed
  # once more through xdotool on an Xvfb screen with openbox.
  step "main menu keys under a window manager"
  bash tools/check-main-keys.sh build-tests
}

sanitizer_lane() {
  step "build under AddressSanitizer and UndefinedBehaviorSanitizer"
  configure_asan
  cmake --build build-asan -j "$jobs"

  step "library tests under AddressSanitizer and UndefinedBehaviorSanitizer"
  (cd build-asan && ctest --output-on-failure --no-tests=error -j "$jobs" -L library -E '^ExportEdges\.')

  # Every integer argument of every export at 0, -1, 2^31 - 1 and -2^31: any
  # signed overflow in the exports' arithmetic stops the run here.
  step "export argument edges under UndefinedBehaviorSanitizer"
  (cd build-asan && ctest --output-on-failure --no-tests=error -L library -R '^ExportEdges\.')

  step "program tests under AddressSanitizer and UndefinedBehaviorSanitizer"
  ctest_program_asan --output-on-failure -j "$jobs"
}

busy_lane() {
  step "library tests under ThreadSanitizer"
  configure_tsan
  nice -n 5 cmake --build build-tsan -j "$jobs"
  (cd build-tsan && TSAN_OPTIONS=halt_on_error=1 ctest --output-on-failure --no-tests=error -j "$jobs" -L library)

  ls fuzz/*.cpp >/dev/null 2>&1 || return 0
  step "fuzz targets"
  # The program's readers start from the files the plain build's tests wrote.
  wait_for_lane plain || { echo "fuzz targets: not run, the plain build's tests ended without their end mark"; return 1; }
  [ -f "$lanes/plain.passed" ] || { echo "fuzz targets: not run, the plain build's tests failed"; return 1; }
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DPELOMAR_BUILD_APP=OFF -DPELOMAR_BUILD_BENCH=OFF \
    -DPELOMAR_BUILD_TESTS=OFF -DPELOMAR_FUZZ=ON -DPELOMAR_SANITIZE=address,undefined \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELOMAR_FUZZ_SEEDS="$seeds" -DPELOMAR_FUZZ_SECONDS=20 "${lld_options[@]}" >/dev/null
  nice -n 5 cmake --build build-fuzz -j "$jobs"
  # Each target runs for a set time, so all run at once.
  (cd build-fuzz && ctest --output-on-failure --no-tests=error -j 64 -L fuzz)
}

# wait_for_lane NAME: waits for the lane's end mark; fails when the lane is
# gone without one (killed) or the lanes' folder is (the command ended), for
# then no mark will come. The lane's pid is known to the lanes started after
# it.
wait_for_lane() {
  local pid=${lane_pid[$1]}
  until [ -f "$lanes/$1.ended" ]; do
    if ! kill -0 "$pid" 2>/dev/null || [ ! -d "$lanes" ]; then
      [ -f "$lanes/$1.ended" ]
      return
    fi
    sleep 1
  done
}

# run_lane NAME: the lane's stages in a shell of their own that stops at the
# first failure; its output goes to NAME.log, its stage times to NAME.times,
# and NAME.ended (and NAME.passed) mark its end for the other lanes.
run_lane() {
  (
    set -euo pipefail
    trap "touch '$lanes/$1.ended'" EXIT
    stage_times=()
    if [ -n "$stand_in" ]; then eval "$stand_in"; else "$1_lane"; fi
    end_stage
    printf '%s\n' "${stage_times[@]}" >"$lanes/$1.times"
    touch "$lanes/$1.passed"
  ) >"$lanes/$1.log" 2>&1
}
failed_lanes=()
# set -m starts each lane in a process group of its own: a terminal's Ctrl+C
# reaches this shell alone, whose trap ends the lanes. A lane reads nothing
# (in a group of its own, a read from the terminal would stop it).
set -m
for lane in plain sanitizer busy; do
  run_lane "$lane" </dev/null &
  lane_pid[$lane]=$!
done
set +m
for lane in plain sanitizer busy; do
  wait "${lane_pid[$lane]}" || failed_lanes+=("$lane")
  cat "$lanes/$lane.log"
  if [ -f "$lanes/$lane.times" ]; then
    mapfile -t -O "${#stage_times[@]}" stage_times <"$lanes/$lane.times"
  fi
done

printf '\n==== stage times (after the plain build, in three lanes side by side) ====\n'
printf '%s\n' "${stage_times[@]}"
printf '%5d s  total\n' "$SECONDS"
if [ ${#failed_lanes[@]} -gt 0 ]; then
  echo "run-tests: failed in the ${failed_lanes[*]} lane (its log is above)" >&2
  exit 1
fi
