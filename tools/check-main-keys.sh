#!/usr/bin/env bash
# The main menu's keys under a real window manager: runs the built pelomar3
# on its own Xvfb screen with openbox, clicks the status panel so that the
# main menu loses the keyboard focus, presses F2 through xdotool and waits
# until the window of Play (customer data) is the active window; then closes
# that window with Ctrl+F4 and waits for the main menu that its Cancel
# brings back. Each wait gives up after half a minute (a minute for the main
# window), the whole check after five: a busy machine is slow, not faulty.
#
#   bash tools/check-main-keys.sh [BUILD_DIR]    (default build-tests, the test command's)
#
# Needs Xvfb (xvfb-run), openbox and xdotool. The program runs with its own
# settings store and runtime folder and without an adapter.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build-tests}")
program="$build/bin/pelomar3"
[ -x "$program" ] || { echo "check-main-keys: $program is not built" >&2; exit 1; }
for tool in xvfb-run openbox xdotool; do
  command -v "$tool" >/dev/null || { echo "check-main-keys: $tool is missing" >&2; exit 1; }
done

# timeout puts itself and the screen in a process group of their own, which
# a stop signal to this script's group would miss: the script passes it on.
if [ -z "${PELOMAR_KEYS_INNER:-}" ]; then
  export PELOMAR_KEYS_INNER=1
  timeout 300 xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$build" &
  screen=$!
  trap 'kill "$screen" 2>/dev/null || true' EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
  trap 'exit 129' HUP
  status=0
  wait "$screen" || status=$?
  trap - EXIT
  exit "$status"
fi

scratch=$(mktemp -d)
pids=()
finish() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$scratch"
}
trap finish EXIT
fail() {
  echo "check-main-keys: $*" >&2
  echo "check-main-keys: what the program wrote:" >&2
  cat "$scratch/pelomar3.out" >&2
  exit 1
}

# Tries a command every tenth of a second for up to `tries` times.
retry() {
  local tries=$1
  shift
  for _ in $(seq "$tries"); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

# The program writes each activation of a child window; the last one names
# the active window.
last_active_is() {
  [ "$(grep -o 'active window: .*' "$scratch/pelomar3.out" | tail -n 1)" = "active window: $1" ]
}

openbox --sm-disable >"$scratch/openbox.log" 2>&1 &
pids+=($!)
retry 300 xdotool get_desktop >/dev/null 2>&1 || { echo "check-main-keys: openbox did not start" >&2; exit 1; }

mkdir -m 700 "$scratch/run"
XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch/run" TRAMSOLL_COM1="$scratch/no-adapter" \
  QT_QPA_PLATFORM=xcb QT_LOGGING_RULES="pelomar.windows.info=true" \
  "$program" >"$scratch/pelomar3.out" 2>&1 </dev/null &
pids+=($!)

# A search can meet a window the program is just destroying (xdotool then
# stops on the X error), so it is repeated until the main window is found.
main=""
find_main() {
  main=$(xdotool search --onlyvisible --name '^Pelomar Vexa 5 Software$' 2>/dev/null | head -n 1) || true
  [ -n "$main" ]
}
retry 600 find_main || fail "the main window did not appear"
xdotool windowactivate --sync "$main"
retry 300 last_active_is "Main Menu" || fail "the main menu did not become the active window"

# The status panel lies at the inner area's top left, below the menu bar.
xdotool mousemove --window "$main" 110 80 click 1
retry 300 last_active_is "" || fail "the click did not make the status panel the active window"

xdotool key F2
retry 300 last_active_is "Customer Data Selection" || fail "F2 with the focus on the status panel did not open Play"

# Ctrl+F4 closes the active window by its close box, here Play's Cancel,
# which brings the main menu back.
xdotool key ctrl+F4
retry 300 last_active_is "Main Menu" || fail "Ctrl+F4 did not close Play by its Cancel"
echo "check-main-keys: F2 opened Play with the focus on the status panel; Ctrl+F4 closed it by its Cancel"
