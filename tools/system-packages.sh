# What a script needs from the system's packages, and how it gets them;
# sourced by tools/run-demo.sh, tools/run-tests.sh and tools/loaded-run.sh.
#
#   get_packages NAME PACKAGE...    (the demo and the test command)
#     root              apt-get update, then apt-get install of every package
#                       (which also upgrades those already there), every run
#     a user with sudo  prints the apt-get line for the missing ones, then
#                       runs it through sudo (which may ask for the password)
#     anyone else       names the missing ones and the line to run as root
#   check_packages NAME PACKAGE...  (the loaded run, which installs nothing)
#     names the missing ones and the line that installs them (through sudo
#     for a user with sudo)
#
# A user has sudo when `sudo -n true` passes (no password needed) or when the
# user is in the group sudo, as Debian makes the first account of a desktop
# (sudo then asks for the password on the terminal). Only apt-get runs
# through sudo: the build and everything after it run as the user who
# started the script, so that the checkout stays the user's own.
# Both fail when a package is still missing: the caller stops before it
# builds anything. Without apt-get or dpkg-query (not a Debian system) both
# pass, and the caller's own checks of its tools say what is missing.

# missing_packages PACKAGE...: those not installed, one a line.
missing_packages() {
  local package
  for package; do
    [ "$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null)" = "install ok installed" ] || echo "$package"
  done
  return 0
}

has_sudo() {
  command -v sudo >/dev/null || return 1
  sudo -n true 2>/dev/null && return 0
  [[ " $(id -nG 2>/dev/null) " == *" sudo "* ]]
}

# say_missing NAME SUDO TEXT PACKAGE...: says TEXT and the line that installs
# the packages (SUDO is "sudo " or empty); fails.
say_missing() {
  local name=$1 sudo=$2 text=$3
  shift 3
  echo "$name: $text:" >&2
  echo "    ${sudo}apt-get update && ${sudo}apt-get install -y $*" >&2
  return 1
}

debian_packages() { command -v apt-get >/dev/null && command -v dpkg-query >/dev/null; }

get_packages() {
  local name=$1 missing=()
  shift
  debian_packages || return 0
  if [ "$(id -u)" = 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq && apt-get install -y -qq "$@" >/dev/null
    return
  fi
  mapfile -t missing < <(missing_packages "$@")
  [ ${#missing[@]} -gt 0 ] || return 0
  if ! has_sudo; then
    say_missing "$name" "" "missing ${missing[*]} and no sudo to install them, so nothing is built; run as root, then start again" \
      "${missing[@]}"
    return 1
  fi
  echo "$name: installing ${missing[*]} through sudo:"
  echo "    sudo apt-get update && sudo apt-get install -y ${missing[*]}"
  if ! { sudo apt-get update -qq && sudo apt-get install -y -qq "${missing[@]}" >/dev/null; }; then
    say_missing "$name" "sudo " "the install through sudo failed, so nothing is built; run it yourself, then start again" \
      "${missing[@]}"
    return 1
  fi
}

check_packages() {
  local name=$1 missing=() sudo=""
  shift
  debian_packages || return 0
  mapfile -t missing < <(missing_packages "$@")
  [ ${#missing[@]} -gt 0 ] || return 0
  if [ "$(id -u)" != 0 ] && has_sudo; then sudo="sudo "; fi
  say_missing "$name" "$sudo" "missing ${missing[*]}, so nothing is built; install them (bash tools/run-tests.sh does) with" \
    "${missing[@]}"
}
