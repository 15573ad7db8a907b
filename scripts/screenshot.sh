#!/bin/bash
# Makes docs/result-window.png from the real program: on the build's Xvfb it
# starts the sample window program under Wine, ends it by its path with
# TWK64.exe, waits for the result window "Tarnwick の結果" and cuts that
# window out of the screen.
set -eu
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh >/dev/null
root="$PWD/build/wine"
source tests/harness/wine-env.sh "$root"
tests/harness/wine-prepare.sh "$root"
export DISPLAY="$(cat "$root/display")"
source scripts/sample.sh

start_sample close
wine build/bin/TWK64.exe "$sample_windows" </dev/null >/dev/null 2>&1 &
twk=$!
geometry=$(wait_for_window "Tarnwick の結果" 30000) || { echo "No result window" >&2; exit 1; }
sleep 0.5 # let it paint
mkdir -p docs
import -window root -crop "$geometry" +repage docs/result-window.png
wait "$twk" || true
echo "docs/result-window.png ($geometry)"
