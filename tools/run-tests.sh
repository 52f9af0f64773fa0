#!/usr/bin/env bash
# Installs what the build needs, builds everything with warnings as errors and
# runs every test: the plain build (library, program, benchmarks, the include
# checks), the library tests once shuffled, the main menu's keys under Xvfb
# with a window manager; then, in two lanes side by side, the library and
# program tests under AddressSanitizer+UndefinedBehaviorSanitizer (the
# exports' argument edges among them), and the library tests under
# ThreadSanitizer followed by the fuzz targets for a short while (the
# program's readers start from the files the program tests wrote). The build
# folders are made as tools/build-folders.sh says.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

if [ "$(id -u)" = 0 ] && command -v apt-get >/dev/null; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq cmake ninja-build g++ clang libclang-rt-dev libgtest-dev libbenchmark-dev \
    qt6-base-dev qt6-qpa-plugins xvfb xauth openbox xdotool >/dev/null
fi

export TZ=UTC QT_QPA_PLATFORM=offscreen

# The build folders (the README's plain build keeps its own generator).
source tools/build-folders.sh
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
seeds="$(pwd)/build/fuzz-seeds"

step "plain build"
# The tests and benchmarks are asked for: a machine without their tools
# stops here rather than skipping them.
configure_plain
cmake --build build -j "$jobs"
rm -rf "$seeds"
(cd build && PELOMAR_FUZZ_SEEDS="$seeds" ctest --output-on-failure -j "$jobs")

# The library tests once more in one process, in a random order: a test
# that leans on what an earlier one left behind fails here (the seed is
# printed, --gtest_random_seed repeats the order).
step "library tests shuffled"
(cd build/tests && ../bin/library_tests --gtest_shuffle --gtest_brief=1)

# Offscreen tests see no window manager: the main menu's keys are pressed
# once more through xdotool on an Xvfb screen with openbox.
step "main menu keys under a window manager"
bash tools/check-main-keys.sh build

step "build under AddressSanitizer and UndefinedBehaviorSanitizer"
configure_asan
cmake --build build-asan -j "$jobs"

# From here two lanes run side by side: the sanitizer tests, which mostly
# wait on the simulator and on timers, and the thread-sanitizer build and the
# fuzz targets, which keep the cores busy meanwhile. Each lane writes a log
# of its own, printed whole when it has ended.
sanitizer_lane() {
  step "library tests under AddressSanitizer and UndefinedBehaviorSanitizer"
  (cd build-asan && ctest --output-on-failure -j "$jobs" -L library -E '^ExportEdges\.')

  # Every integer argument of every export at 0, -1, 2^31 - 1 and -2^31: any
  # signed overflow in the exports' arithmetic stops the run here.
  step "export argument edges under UndefinedBehaviorSanitizer"
  (cd build-asan && ctest --output-on-failure -L library -R '^ExportEdges\.')

  step "program tests under AddressSanitizer and UndefinedBehaviorSanitizer"
  ctest_program_asan --output-on-failure -j "$jobs"
}

busy_lane() {
  step "library tests under ThreadSanitizer"
  configure_tsan
  cmake --build build-tsan -j "$jobs"
  (cd build-tsan && TSAN_OPTIONS=halt_on_error=1 ctest --output-on-failure -j "$jobs" -L library)

  ls fuzz/*.cpp >/dev/null 2>&1 || return 0
  step "fuzz targets"
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DPELOMAR_BUILD_APP=OFF -DPELOMAR_BUILD_BENCH=OFF \
    -DPELOMAR_BUILD_TESTS=OFF -DPELOMAR_FUZZ=ON -DPELOMAR_SANITIZE=address,undefined \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELOMAR_FUZZ_SEEDS="$seeds" -DPELOMAR_FUZZ_SECONDS=20 >/dev/null
  cmake --build build-fuzz -j "$jobs"
  (cd build-fuzz && ctest --output-on-failure -j "$jobs" -L fuzz)
}

end_stage
lanes=$(mktemp -d)
trap 'rm -rf "$lanes"' EXIT
# run_lane NAME: the lane's stages in a shell of their own that stops at the
# first failure; its output goes to NAME.log, its stage times to NAME.times.
run_lane() {
  (
    set -euo pipefail
    stage_times=()
    "$1_lane"
    end_stage
    printf '%s\n' "${stage_times[@]}" >"$lanes/$1.times"
  ) >"$lanes/$1.log" 2>&1
}
failed_lanes=()
run_lane sanitizer &
sanitizer_pid=$!
run_lane busy &
busy_pid=$!
for lane in sanitizer busy; do
  pid_name="${lane}_pid"
  wait "${!pid_name}" || failed_lanes+=("$lane")
  cat "$lanes/$lane.log"
  if [ -f "$lanes/$lane.times" ]; then
    mapfile -t -O "${#stage_times[@]}" stage_times <"$lanes/$lane.times"
  fi
done

printf '\n==== stage times (from the sanitizer tests on, in two lanes side by side) ====\n'
printf '%s\n' "${stage_times[@]}"
printf '%5d s  total\n' "$SECONDS"
if [ ${#failed_lanes[@]} -gt 0 ]; then
  echo "run-tests: failed in the ${failed_lanes[*]} lane (its log is above)" >&2
  exit 1
fi
