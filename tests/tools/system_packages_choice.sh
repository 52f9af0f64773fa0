#!/usr/bin/env bash
# tools/system-packages.sh chooses by who runs it: root installs every
# package with apt-get; a user with sudo (no password needed, or in the group
# sudo) the missing ones through sudo; anyone else, and the loaded run's
# check, only names them with the line to run. Stand-ins for id, sudo,
# apt-get and dpkg-query on the PATH note every install they are asked for.
set -euo pipefail
helper="$(cd "$(dirname "$0")/../../tools" && pwd)/system-packages.sh"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/bin"
cd "$scratch/bin"
printf '#!/bin/sh\n[ "$1" = -u ] && echo "$STAND_UID" || echo "$STAND_GROUPS"\n' >id
printf '#!/bin/sh\nif [ "$1" = -n ]; then [ "$STAND_SUDO_N" = yes ]; exit; fi\n%s\n' \
  'echo "sudo $*" >>"$STAND_LOG"; [ "$STAND_SUDO" = yes ]' >sudo
printf '#!/bin/sh\necho "apt-get $*" >>"$STAND_LOG"\n' >apt-get
printf '#!/bin/sh\ncase " $STAND_MISSING " in *" $3 "*) exit 1 ;; esac\nprintf "install ok installed"\n' >dpkg-query
chmod +x id sudo apt-get dpkg-query
export PATH="$scratch/bin:$PATH" STAND_LOG="$scratch/log"

# call; uid; groups; sudo -n passes; sudo passes; missing; status; the
# installs asked for (| between them); a line the output must hold (none:
# the output is empty).
rows=(
  "get;0;root;no;no;b;0;apt-get update -qq|apt-get install -y -qq a b c;"
  "get;1000;engineer;yes;yes;b c;0;sudo apt-get update -qq|sudo apt-get install -y -qq b c;    sudo apt-get update && sudo apt-get install -y b c"
  "get;1000;engineer sudo;no;yes;c;0;sudo apt-get update -qq|sudo apt-get install -y -qq c;demo: installing c through sudo:"
  "get;1000;engineer sudo;no;no;a;1;sudo apt-get update -qq;    sudo apt-get update && sudo apt-get install -y a"
  "get;1000;engineer;yes;yes;;0;;"
  "get;1000;engineer;no;no;a c;1;;    apt-get update && apt-get install -y a c"
  "check;1000;engineer sudo;yes;yes;b;1;;    sudo apt-get update && sudo apt-get install -y b"
  "check;1000;engineer;no;no;b;1;;    apt-get update && apt-get install -y b"
  "check;0;root;no;no;a;1;;    apt-get update && apt-get install -y a"
  "check;0;root;no;no;;0;;"
)
says_it() { if [ -z "$1" ]; then [ -z "$2" ]; else grep -qxF -- "$1" <<<"$2"; fi; }
failed=0
for row in "${rows[@]}"; do
  IFS=';' read -r call STAND_UID STAND_GROUPS STAND_SUDO_N STAND_SUDO STAND_MISSING status installs says <<<"$row"
  export STAND_UID STAND_GROUPS STAND_SUDO_N STAND_SUDO STAND_MISSING
  : >"$STAND_LOG"
  got=0
  output=$(bash -c 'source "$1"; "$2_packages" demo a b c' - "$helper" "$call" 2>&1) || got=$?
  asked=$(paste -sd '|' "$STAND_LOG")
  if [ "$got" != "$status" ] || [ "$asked" != "$installs" ] || ! says_it "$says" "$output"; then
    echo "row '$row': status $got, installs '$asked', output:" >&2
    echo "$output" >&2
    failed=1
  fi
done
[ "$failed" = 0 ] && echo "system packages: root, sudo and neither choose as they should"
exit "$failed"
