#!/bin/bash
# Installs what is missing, builds both exes and runs TWK64.exe under Wine,
# on the user's display when there is one, otherwise on the build's Xvfb.
set -eu
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh >/dev/null
root="$PWD/build/wine"
source tests/harness/wine-env.sh "$root"
tests/harness/wine-prepare.sh "$root"
[ -n "${DISPLAY:-}" ] || export DISPLAY=":$(cat "$root/display")"
status=0
wine build/bin/TWK64.exe "$@" || status=$?
echo "TWK64.exe exit code: $status"
