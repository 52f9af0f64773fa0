#!/usr/bin/env bash
# Installs what the build needs, builds everything with warnings as errors and
# runs every test: the plain build (library, program, benchmarks, the include
# checks), the library tests once shuffled, the main
# menu's keys under Xvfb with a window manager, the library
# tests again under AddressSanitizer+UndefinedBehaviorSanitizer and under
# ThreadSanitizer, the exports' argument edges under the undefined-behaviour
# checks, the program tests under AddressSanitizer+UndefinedBehaviorSanitizer,
# and the fuzz targets for a short while (the program's readers start from the
# files the program tests wrote).
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

# A build folder keeps the generator it was made with (the README's plain
# build uses the default one); new folders use Ninja.
generator() { [ -f "$1/CMakeCache.txt" ] || echo "-G Ninja"; }
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
cmake -S . -B build $(generator build) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELOMAR_WERROR=ON \
  -DPELOMAR_BUILD_TESTS=ON -DPELOMAR_BUILD_BENCH=ON >/dev/null
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

library_only=(-DPELOMAR_BUILD_APP=OFF -DPELOMAR_BUILD_TESTS=ON -DPELOMAR_BUILD_BENCH=OFF -DPELOMAR_WERROR=ON -DCMAKE_BUILD_TYPE=Debug)

step "library tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja "${library_only[@]}" -DPELOMAR_SANITIZE=address,undefined >/dev/null
cmake --build build-asan -j "$jobs"
(cd build-asan && ctest --output-on-failure -j "$jobs" -L library -E '^ExportEdges\.')

# Every integer argument of every export at 0, -1, 2^31 - 1 and -2^31: any
# signed overflow in the exports' arithmetic stops the run here.
step "export argument edges under UndefinedBehaviorSanitizer"
(cd build-asan && ctest --output-on-failure -L library -R '^ExportEdges\.')

step "library tests under ThreadSanitizer"
cmake -S . -B build-tsan -G Ninja "${library_only[@]}" -DPELOMAR_SANITIZE=thread >/dev/null
cmake --build build-tsan -j "$jobs"
(cd build-tsan && TSAN_OPTIONS=halt_on_error=1 ctest --output-on-failure -j "$jobs" -L library)

step "program tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan-app -G Ninja -DPELOMAR_BUILD_TESTS=ON -DPELOMAR_BUILD_BENCH=OFF -DPELOMAR_WERROR=ON -DCMAKE_BUILD_TYPE=Debug \
  -DPELOMAR_SANITIZE=address,undefined >/dev/null
cmake --build build-asan-app -j "$jobs" --target app_tests
# Full stacks on every allocation, so that a leak names its makers and the
# one kind of Qt's own (see the suppression file) can be told from ours.
(cd build-asan-app && ASAN_OPTIONS=fast_unwind_on_malloc=0 \
  LSAN_OPTIONS="suppressions=$(pwd)/../tools/sanitizers/lsan-qt.supp" ctest --output-on-failure -j "$jobs" -L app)

if ls fuzz/*.cpp >/dev/null 2>&1; then
  step "fuzz targets"
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DPELOMAR_BUILD_APP=OFF -DPELOMAR_BUILD_BENCH=OFF \
    -DPELOMAR_BUILD_TESTS=OFF -DPELOMAR_FUZZ=ON -DPELOMAR_SANITIZE=address,undefined \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELOMAR_FUZZ_SEEDS="$seeds" >/dev/null
  cmake --build build-fuzz -j "$jobs"
  (cd build-fuzz && ctest --output-on-failure -j "$jobs" -L fuzz)
fi
end_stage
printf '\n==== stage times ====\n'
printf '%s\n' "${stage_times[@]}"
printf '%5d s  total\n' "$SECONDS"
