#!/usr/bin/env bash
# Builds Pelomar3 and runs it against the simulated Vexa5 adapter.
#
#   bash tools/run-demo.sh [--free-mb N] [--window-manager] [STEP...]
#   bash tools/run-demo.sh [--free-mb N] [--window-manager] --steps FILE
#
# Installs what is missing (as tools/system-packages.sh says: as root, or
# through sudo), builds into build-demo/ (a folder of its own: the README's
# build/ is the user's), installs the program folder into
# build-demo/install/pelomar3, starts the adapter simulator with the sample
# installation on a pseudo-terminal linked at build-demo/run/com1, writes the
# demo customers and recordings into the program folder (tools/demo-data), and
# starts the installed pelomar3 with COM1 pointed at that link. With a display
# the program runs until it is ended. Without one it runs under xvfb-run, its
# main window filling the screen, and shows the program's main job: Record,
# Record only, OK on the access method (QVII-NET) and Yes to the standby
# warning, then the network map with the units' live states;
# build-demo/run/main-menu.png and build-demo/run/map.png are saved, and both
# processes end.
#
# Steps drive the program instead (on the display, or under xvfb-run without
# one): once it has started they run in order, then both processes end.
#   key:KEYS    keys through xdotool, blank-separated (key:alt+o, key:"Down Return")
#   type:TEXT   types the text
#   wait:SECONDS
#   shot:NAME   saves a picture of the screen to build-demo/run/NAME.png
# A steps file holds one step a line; blank lines and lines starting with #
# are skipped.
#
# --free-mb N (root only) runs the program from a copy of its folder on a
# file system of its own, a tmpfs holding the program, its files and the
# demo data with N MB left free, so the program sees a small disk.
# --window-manager runs openbox on the headless screen, so the program's
# windows become active as on a desktop (keys that move between option
# buttons need an active window).
set -euo pipefail
steps=()
while [ $# -gt 0 ]; do
  case "$1" in
    --free-mb)
      [[ "${2:-}" =~ ^[0-9]+$ ]] || { echo "run-demo: --free-mb needs a number of MB" >&2; exit 2; }
      export PELOMAR_DEMO_FREE_MB=$2
      shift 2 ;;
    --window-manager) export PELOMAR_DEMO_WM=1; shift ;;
    *) break ;;
  esac
done
if [ "${1:-}" = "--steps" ]; then
  [ -f "${2:-}" ] || { echo "run-demo: --steps needs a readable file" >&2; exit 2; }
  while IFS= read -r line || [ -n "$line" ]; do
    line=${line%$'\r'}
    case "$line" in ''|'#'*) continue ;; esac
    steps+=("$line")
  done <"$2"
else
  steps=("$@")
fi
# Without a display and without steps: the main menu, then the network map
# of the simulated installation once the units' states have come (a
# snapshot every five seconds; a busy machine takes longer).
if [ ${#steps[@]} -eq 0 ] && [ -z "${DISPLAY:-}" ]; then
  steps=(shot:main-menu key:F1 wait:2 key:F1 wait:2 key:F1 wait:2 key:F1 wait:25 shot:map)
fi
cd "$(dirname "$0")/.."
root=$(pwd)
demo="$root/build-demo"
run="$demo/run"
bin="$demo/bin"
program="$demo/install/pelomar3"
wait_seconds=${PELOMAR_DEMO_WAIT:-6}

# Every step is checked before anything is built.
for step in "${steps[@]}"; do
  value=${step#*:}
  case "$step" in
    key:?*|type:*) ;;
    wait:*) [[ "$value" =~ ^[0-9]+(\.[0-9]+)?$ ]] || { echo "run-demo: $step: not a number of seconds" >&2; exit 2; } ;;
    shot:*) [[ "$value" =~ ^[A-Za-z0-9_-]+$ ]] || { echo "run-demo: $step: name the shot with letters, digits, - and _" >&2; exit 2; } ;;
    *) echo "run-demo: $step: a step is key:KEYS, type:TEXT, wait:SECONDS or shot:NAME" >&2; exit 2 ;;
  esac
done

if [ -z "${PELOMAR_DEMO_INNER:-}" ]; then
  if [ -n "${PELOMAR_DEMO_FREE_MB:-}" ] && [ "$(id -u)" != 0 ]; then
    echo "run-demo: --free-mb mounts a file system, which needs root" >&2
    exit 1
  fi
  # What this run needs: the build; xdotool and ImageMagick's import for
  # steps; without a display the headless screen and the fonts of its
  # pictures (IPA Gothic for the messages whose built-in texts are Japanese);
  # openbox for --window-manager. Root installs them all, whatever the run.
  every=false
  [ "$(id -u)" != 0 ] || every=true
  demo_packages=(cmake ninja-build g++ qt6-base-dev qt6-qpa-plugins)
  if $every || [ ${#steps[@]} -gt 0 ]; then demo_packages+=(xdotool imagemagick); fi
  if $every || [ -z "${DISPLAY:-}" ]; then demo_packages+=(xvfb xauth fonts-dejavu-core fonts-ipafont-gothic); fi
  if $every || [ -n "${PELOMAR_DEMO_WM:-}" ]; then demo_packages+=(openbox); fi
  source tools/system-packages.sh
  get_packages run-demo "${demo_packages[@]}" || exit 1
  # Where there is no apt-get, the tools themselves are looked for.
  missing=()
  for tool in cmake ninja g++; do command -v "$tool" >/dev/null || missing+=("$tool"); done
  if [ -n "${PELOMAR_DEMO_WM:-}" ]; then command -v openbox >/dev/null || missing+=(openbox); fi
  if [ -z "${DISPLAY:-}" ]; then
    for tool in xvfb-run import; do command -v "$tool" >/dev/null || missing+=("$tool"); done
  fi
  if [ ${#steps[@]} -gt 0 ]; then
    for tool in xdotool import; do command -v "$tool" >/dev/null || missing+=("$tool"); done
  fi
  if [ ${#missing[@]} -gt 0 ]; then
    echo "run-demo: missing ${missing[*]}; install them (see the README's prerequisites)" >&2
    exit 1
  fi

  # build-demo/ keeps the generator it was made with; a new one uses Ninja.
  # It builds no tests or benchmarks, so it needs neither of their tools.
  generator=(-G Ninja)
  [ ! -f build-demo/CMakeCache.txt ] || generator=()
  cmake -S . -B build-demo "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELOMAR_BUILD_TESTS=OFF \
    -DPELOMAR_BUILD_BENCH=OFF >/dev/null
  cmake --build build-demo -j "$(nproc)" --target pelomar3 tramsoll adapter-sim testdata_files program_icons demo-data

  # The program runs from its installed folder: the program, the library,
  # the scrambled sample setting and table files, icons and help pages. The
  # component "program" is all the install; installed by name, it lists its
  # files in install_manifest_program.txt, as the tests' installs do.
  cmake --install build-demo --component program --prefix "$demo/install" >/dev/null
  for file in "$program/pelomar3" "$program/libtramsoll.so" "$program/vexa5.set" "$bin/adapter-sim" "$bin/demo-data"; do
    [ -e "$file" ] || { echo "run-demo: $file is missing after the build" >&2; exit 1; }
  done
  [ -d "$program/table" ] || echo "run-demo: note: $program/table/ is missing; the sample tables are not built yet" >&2

  export PELOMAR_DEMO_INNER=1
  if [ -z "${DISPLAY:-}" ]; then
    export PELOMAR_DEMO_SCREENSHOT=1
    exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "${steps[@]}"
  fi
fi

mkdir -p "$run"
rm -f "$run/com1"
for step in "${steps[@]}"; do
  case "$step" in shot:*) rm -f "$run/${step#shot:}.png" ;; esac
done
pids=()
disk="$run/disk"
stop_all() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  if [ -n "${PELOMAR_DEMO_FREE_MB:-}" ] && mountpoint -q "$disk"; then
    cd "$root"
    umount "$disk" || umount -l "$disk"
  fi
}
trap stop_all EXIT

# The small disk: mounted roomy for the copy and the demo data below, then
# shrunk to what they take and the free space asked for.
if [ -n "${PELOMAR_DEMO_FREE_MB:-}" ]; then
  mkdir -p "$disk"
  if mountpoint -q "$disk"; then umount "$disk"; fi
  mount -t tmpfs -o size=1g pelomar-demo-disk "$disk"
  cp -a "$program" "$disk/"
  program="$disk/pelomar3"
fi

"$bin/adapter-sim" --scenario "$root/testdata/installation.scenario" --link "$run/com1" --log "$run/adapter-sim.log" \
  >"$run/adapter-sim.out" 2>&1 </dev/null &
pids+=($!)
for _ in $(seq 50); do [ -L "$run/com1" ] && break; sleep 0.1; done
[ -L "$run/com1" ] || { echo "run-demo: the adapter simulator did not start:" >&2; cat "$run/adapter-sim.out" >&2; exit 1; }
echo "run-demo: adapter simulator on $(readlink "$run/com1") (linked at $run/com1)"

# The demo customers and recordings, as they were at the start of every run.
# A driven run gets a home folder of its own, made afresh, with part of the
# demo data in it, and its XDG folders inside that home (the settings store
# lies under XDG_CONFIG_HOME when it is set): the engineer's own home and
# settings stay untouched. Its runtime folder (where the one-copy lock lies)
# is its own too, so a driven run beside a running copy, or beside another
# checkout's run, starts.
home_data=()
if [ ${#steps[@]} -gt 0 ]; then
  export HOME="$run/home" XDG_RUNTIME_DIR="$run/runtime"
  export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share" XDG_CACHE_HOME="$HOME/.cache"
  rm -rf "$HOME" "$XDG_RUNTIME_DIR"
  mkdir -p "$HOME"
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  home_data=("$HOME")
fi
"$bin/demo-data" "$program" "${home_data[@]}" >"$run/demo-data.out" 2>&1 || {
  echo "run-demo: the demo data could not be written:" >&2
  cat "$run/demo-data.out" >&2
  exit 1
}

if [ -n "${PELOMAR_DEMO_FREE_MB:-}" ]; then
  used_kb=$(df -k --output=used "$disk" | tail -n 1)
  mount -o remount,size=$((used_kb + PELOMAR_DEMO_FREE_MB * 1024))k "$disk"
  echo "run-demo: the program folder is $program, with $(df -h --output=avail "$disk" | tail -n 1 | tr -d ' ') free"
fi

export TRAMSOLL_COM1="$run/com1"
# Started from the program folder, so that a Lang.ini there is used.
cd "$program"
if [ -z "${PELOMAR_DEMO_SCREENSHOT:-}" ] && [ ${#steps[@]} -eq 0 ]; then
  ./pelomar3
  exit 0
fi

# On the headless screen only: a desktop has a window manager of its own.
if [ -n "${PELOMAR_DEMO_WM:-}" ] && [ -n "${PELOMAR_DEMO_SCREENSHOT:-}" ]; then
  openbox --sm-disable >"$run/openbox.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 50); do xdotool get_desktop >/dev/null 2>&1 && break; sleep 0.1; done
fi
./pelomar3 >"$run/pelomar3.out" 2>&1 &
program_pid=$!
pids+=("$program_pid")
sleep "$wait_seconds"
program_runs() {
  kill -0 "$program_pid" 2>/dev/null || { echo "run-demo: pelomar3 ended:" >&2; cat "$run/pelomar3.out" >&2; exit 1; }
}
program_runs

# Keys go to the window that has the focus: the main window to begin with.
main_window=$(xdotool search --onlyvisible --class pelomar3 | head -n 1)
[ -n "$main_window" ] || { echo "run-demo: the main window of pelomar3 is not shown" >&2; exit 1; }
# On the headless screen the main window fills it, so that the pictures show
# the program rather than the empty screen around it.
if [ -n "${PELOMAR_DEMO_SCREENSHOT:-}" ]; then
  read -r screen_width screen_height < <(xdotool getdisplaygeometry)
  xdotool windowmove "$main_window" 0 0 windowsize "$main_window" "$screen_width" "$screen_height"
  sleep 1
fi
if [ -n "${PELOMAR_DEMO_WM:-}" ]; then
  xdotool windowactivate --sync "$main_window"
else
  xdotool windowfocus --sync "$main_window"
fi
for step in "${steps[@]}"; do
  value=${step#*:}
  echo "run-demo: $step"
  case "$step" in
    key:*) read -r -a keys <<<"$value"; xdotool key --delay 100 "${keys[@]}" ;;
    type:*) xdotool type --delay 50 -- "$value" ;;
    wait:*) sleep "$value" ;;
    shot:*) import -window root "$run/$value.png"; echo "run-demo: screenshot saved to $run/$value.png" ;;
  esac
  program_runs
done
