#!/usr/bin/env bash
# Installs the build into a scratch prefix and starts the installed program
# as a user would: offscreen, from another folder, with a fresh home. It
# must reach the main menu with the setting and table files of its own
# folder, and end by its own road on SIGTERM: exit 0, settings written.
#
#   bash run_installed.sh BUILD_DIR FOLDER
set -euo pipefail
build=$1 folder=$2
scratch=$(mktemp -d)
pid=
finish() {
  if [ -n "$pid" ]; then kill -KILL "$pid" 2>/dev/null || true; fi
  rm -rf "$scratch"
}
trap finish EXIT
fail() {
  echo "installed program: $*" >&2
  cat "$scratch/output" >&2 2>/dev/null || true
  exit 1
}
# Waits up to a generous minute for a condition, for a machine that other
# work keeps busy.
wait_for() {
  for _ in $(seq 600); do
    if eval "$1"; then return 0; fi
    kill -0 "$pid" 2>/dev/null || fail "ended while waiting for: $1"
    sleep 0.1
  done
  fail "not seen within a minute: $1"
}

# The component "program" is all the install; installed by name, it leaves
# install_manifest.txt, the list of a user's own install, as it was.
cmake --install "$build" --component program --prefix "$scratch/prefix" >/dev/null
program="$scratch/prefix/$folder/pelomar3"
mkdir -p "$scratch/home" "$scratch/elsewhere"
mkdir -m 700 "$scratch/runtime"
settings="$scratch/home/.config/PelomarVexa5Software/PelomarVexa5Software.ini"

cd "$scratch/elsewhere"
env -u XDG_CONFIG_HOME -u TRAMSOLL_COM1 HOME="$scratch/home" XDG_RUNTIME_DIR="$scratch/runtime" \
  QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES="pelomar.windows.info=true" \
  "$program" >"$scratch/output" 2>&1 &
pid=$!
# The socket is opened once the library has started; SIGTERM is caught once
# the program runs (bit 15 of the caught signals, 0x4000).
wait_for '[ -S "$scratch/runtime/pelomar3.socket" ]'
wait_for '(( 0x$(awk "/^SigCgt:/ { print \$2 }" /proc/$pid/status) & 0x4000 ))'
wait_for 'grep -q "active window: Main Menu" "$scratch/output"'
[ ! -e "$settings" ] || fail "settings written before the end"
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
pid=
[ "$status" = 0 ] || fail "SIGTERM ended it with status $status"
grep -qi '^\[SerialPort\]' "$settings" || fail "no settings written to $settings"
echo "installed program: started from $scratch/elsewhere, reached the main menu, ended on SIGTERM"
