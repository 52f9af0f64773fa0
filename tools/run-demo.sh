#!/usr/bin/env bash
# Builds Pelomar3 and runs it against the simulated Vexa5 adapter.
#
#   bash tools/run-demo.sh
#
# Installs what is missing (apt-get, when run as root), builds into build/,
# starts the adapter simulator with the sample installation on a
# pseudo-terminal linked at build/run/com1, and starts build/bin/pelomar3
# with COM1 pointed at that link. With a display the program runs until it
# is ended; without one it runs under xvfb-run, a screenshot is saved to
# build/run/screenshot.png after a few seconds, and both processes end.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
run="$root/build/run"
bin="$root/build/bin"
wait_seconds=${PELOMAR_DEMO_WAIT:-6}

if [ -z "${PELOMAR_DEMO_INNER:-}" ]; then
  if [ "$(id -u)" = 0 ] && command -v apt-get >/dev/null; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq cmake ninja-build g++ clang libclang-rt-dev libgtest-dev libbenchmark-dev \
      qt6-base-dev qt6-qpa-plugins xvfb xauth imagemagick fonts-dejavu-core >/dev/null
  fi
  missing=()
  for tool in cmake ninja g++; do command -v "$tool" >/dev/null || missing+=("$tool"); done
  if [ -z "${DISPLAY:-}" ]; then
    for tool in xvfb-run import; do command -v "$tool" >/dev/null || missing+=("$tool"); done
  fi
  if [ ${#missing[@]} -gt 0 ]; then
    echo "run-demo: missing ${missing[*]}; run as root to install them, or install them yourself" >&2
    exit 1
  fi

  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build -j "$(nproc)" --target pelomar3 tramsoll adapter-sim testdata_files program_icons

  # The program folder is build/bin: the build puts the program, the library
  # and the scrambled sample setting and table files there.
  for file in pelomar3 libtramsoll.so vexa5.set adapter-sim; do
    [ -e "$bin/$file" ] || { echo "run-demo: $bin/$file is missing after the build" >&2; exit 1; }
  done
  [ -d "$bin/table" ] || echo "run-demo: note: $bin/table/ is missing; the sample tables are not built yet" >&2

  export PELOMAR_DEMO_INNER=1
  if [ -z "${DISPLAY:-}" ]; then
    export PELOMAR_DEMO_SCREENSHOT=1
    exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0"
  fi
fi

mkdir -p "$run"
rm -f "$run/com1" "$run/screenshot.png"
pids=()
stop_all() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
}
trap stop_all EXIT

"$bin/adapter-sim" --scenario "$root/testdata/installation.scenario" --link "$run/com1" --log "$run/adapter-sim.log" \
  >"$run/adapter-sim.out" 2>&1 </dev/null &
pids+=($!)
for _ in $(seq 50); do [ -L "$run/com1" ] && break; sleep 0.1; done
[ -L "$run/com1" ] || { echo "run-demo: the adapter simulator did not start:" >&2; cat "$run/adapter-sim.out" >&2; exit 1; }
echo "run-demo: adapter simulator on $(readlink "$run/com1") (linked at $run/com1)"

export TRAMSOLL_COM1="$run/com1"
# Started from the program folder, so that a Lang.ini there is used.
cd "$bin"
if [ -z "${PELOMAR_DEMO_SCREENSHOT:-}" ]; then
  ./pelomar3
  exit 0
fi

./pelomar3 >"$run/pelomar3.out" 2>&1 &
pids+=($!)
sleep "$wait_seconds"
kill -0 "${pids[1]}" 2>/dev/null || { echo "run-demo: pelomar3 ended early:" >&2; cat "$run/pelomar3.out" >&2; exit 1; }
import -window root "$run/screenshot.png"
echo "run-demo: screenshot saved to $run/screenshot.png"
