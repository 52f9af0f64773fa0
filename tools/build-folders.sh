# The test command's build folders, sourced by tools/run-tests.sh and
# tools/loaded-run.sh so that both make them alike. Each function configures
# one folder (a folder keeps the generator it was made with; a new one uses
# Ninja).
#
#   build-tests/  the plain build with GCC: library, program, tests, benchmarks
#   build-asan/   library, program and their tests under
#                 AddressSanitizer+UndefinedBehaviorSanitizer (no benchmarks)
#   build-tsan/   the library and its tests under ThreadSanitizer
#
# The sanitizer folders are built with clang, which compiles the program's
# Qt-heavy sources faster than GCC (docs/building-and-testing.md gives the
# measurement); with GCC for the plain build, the test command checks both
# compilers' warnings. The debug information is line tables only: enough for
# every report's and backtrace's file and line, and smaller links. Every
# folder links with lld, faster than the default linker on the many large
# test programs; the sanitizer folders precompile the
# Qt and GoogleTest headers (the plain build compiles every source with its
# own includes only, so a missing include still shows there). The README's
# build/ is the user's own Release build: no folder here shares it.

# What the folders need to be made, built and tested (fonts-dejavu-core: the
# window-texts test measures with its fixed font).
folder_packages=(cmake ninja-build g++ clang lld libclang-rt-dev libgtest-dev libbenchmark-dev
  qt6-base-dev qt6-qpa-plugins fonts-dejavu-core)

lld_options=(-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld -DCMAKE_SHARED_LINKER_FLAGS=-fuse-ld=lld
  -DCMAKE_MODULE_LINKER_FLAGS=-fuse-ld=lld)

folder_generator() { [ -f "$1/CMakeCache.txt" ] || echo "-G Ninja"; }

configure_plain() {
  cmake -S . -B build-tests $(folder_generator build-tests) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" -DPELOMAR_WERROR=ON \
    -DPELOMAR_BUILD_TESTS=ON -DPELOMAR_BUILD_BENCH=ON "${lld_options[@]}" "$@" >/dev/null
}

sanitizer_options=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug
  -DCMAKE_C_FLAGS_DEBUG=-g1 -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DPELOMAR_WERROR=ON -DPELOMAR_BUILD_BENCH=OFF
  -DPELOMAR_PCH=ON "${lld_options[@]}")

configure_asan() {
  cmake -S . -B build-asan $(folder_generator build-asan) "${sanitizer_options[@]}" -DPELOMAR_BUILD_APP=ON \
    -DPELOMAR_BUILD_TESTS=ON -DPELOMAR_SANITIZE=address,undefined "$@" >/dev/null
}

configure_tsan() {
  cmake -S . -B build-tsan $(folder_generator build-tsan) "${sanitizer_options[@]}" -DPELOMAR_BUILD_APP=OFF \
    -DPELOMAR_BUILD_TESTS=ON -DPELOMAR_SANITIZE=thread "$@" >/dev/null
}

# The program tests under AddressSanitizer: full stacks on every allocation,
# so that a leak names its makers and the one kind of Qt's own (see the
# suppression file) can be told from ours. A run that finds no program
# test fails.
ctest_program_asan() {
  (cd build-asan && ASAN_OPTIONS=fast_unwind_on_malloc=0 \
    LSAN_OPTIONS="suppressions=$(pwd)/../tools/sanitizers/lsan-qt.supp" ctest --no-tests=error "$@" -L app)
}
