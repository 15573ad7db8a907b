#!/bin/bash
# Installs what is missing, builds both exes and shows the main job under
# Wine: starts a sample window program and ends it by its path with
# TWK64.exe, which shows its progress and result window. With an argument,
# runs TWK64.exe on that path instead (a Windows path such as
# 'C:\Program Files\App\app.exe', or an existing Linux path).
# The windows appear on the user's display when DISPLAY is set, otherwise on
# the build's own Xvfb.
set -eu
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh >/dev/null
# A prefix of its own for the user's display; the tests' prefix otherwise.
if [ -n "${DISPLAY:-}" ]; then
  root="$PWD/build/wine-desktop"
  export TWK_USE_DISPLAY=$DISPLAY
else
  root="$PWD/build/wine"
fi
source tests/harness/wine-env.sh "$root"
tests/harness/wine-prepare.sh "$root"
export DISPLAY="$(cat "$root/display")"
source scripts/sample.sh

if [ $# -eq 0 ]; then
  # The sample takes 1.5 s to close, so the progress state shows first.
  start_sample delay 1500
  target=$sample_windows
  echo "Ending the sample program $target with TWK64.exe"
else
  target=$*
  if [[ $target == /* ]] && [ -e "$target" ]; then
    target=$(wine winepath -w "$target" 2>/dev/null | tr -d '\r')
  fi
fi

status=0
wine build/bin/TWK64.exe "$target" || status=$?
echo "TWK64.exe exit code: $status"
