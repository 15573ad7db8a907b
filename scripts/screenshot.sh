#!/bin/bash
# Makes the README's screenshots from the real program, on the build's Xvfb:
# docs/result-window.png: starts the sample window program under Wine, ends
# it by its path with TWK64.exe, waits for the result window "Tarnwick の結果"
# and cuts that window out of the screen.
# docs/settings-window.png: starts the sample again and TWK64.exe without an
# argument, selects the sample's row and cuts out the settings window;
# docs/about-box.png: presses About there and cuts out the About box.
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

start_sample close
wine build/bin/TWK64.exe </dev/null >/dev/null 2>&1 &
twk=$!
# Every token is elevated under Wine, so the caption says so.
settings="Tarnwick の設定(昇格中)"
wait_for_window "$settings" 30000 >/dev/null || { echo "No settings window" >&2; exit 1; }
geometry=$(wait_for_window_doing "$settings" select sample.exe) || { echo "No sample row" >&2; exit 1; }
sleep 0.5
import -window root -crop "$geometry" +repage docs/settings-window.png
echo "docs/settings-window.png ($geometry)"

wait_for_window_doing "$settings" press 1105 >/dev/null
geometry=$(wait_for_window "Tarnwick のバージョン情報" 15000) || { echo "No About box" >&2; exit 1; }
sleep 0.5
import -window root -crop "$geometry" +repage docs/about-box.png
echo "docs/about-box.png ($geometry)"

wait_for_window_doing "Tarnwick のバージョン情報" close >/dev/null
sleep 0.3
wait_for_window_doing "$settings" close >/dev/null
wait "$twk" || true
wine build/bin/TWK64.exe "$sample_windows" </dev/null >/dev/null 2>&1 || true
