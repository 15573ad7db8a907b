#!/bin/bash
# Installs what is missing, builds both exes and shows the main job under
# Wine: starts a sample window program and ends it by its path with
# TWK64.exe, which shows its progress and result window. With an argument,
# runs TWK64.exe on that path instead (a Windows path such as
# 'C:\Program Files\App\app.exe', or an existing Linux path). With
# --settings, starts TWK64.exe without an argument: its settings window
# lists the running programs, the sample among them.
# The windows appear on the user's display when DISPLAY is set, otherwise on
# the build's own Xvfb. Either way it prints what the result window (or a
# message box of TWK64.exe) says, read from the real window; without a
# display it also saves a screenshot of it as build/result-window.png and
# answers the message box, which nobody could see.
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

if [ "${1:-}" = "--settings" ]; then
  start_sample close
  echo "Opening the settings window of TWK64.exe (the sample program is listed as sample.exe)"
  wine build/bin/TWK64.exe </dev/null >/dev/null 2>&1 &
  twk=$!
  # Every token is elevated under Wine, so the caption says so.
  caption="Tarnwick の設定(昇格中)"
  geometry=$(wait_for_window "$caption" 30000) || { echo "TWK64.exe showed no settings window" >&2; exit 1; }
  if [ -z "${TWK_USE_DISPLAY:-}" ]; then
    sleep 0.5 # let it paint
    import -window root -crop "$geometry" +repage "$PWD/build/settings-window.png"
    echo "Screenshot of it: $PWD/build/settings-window.png"
    wait_for_window_doing "$caption" close >/dev/null
  else
    echo "Close the settings window to go on."
  fi
  status=0
  wait "$twk" || status=$?
  echo "TWK64.exe exit code: $status"
  # End the sample as the program would.
  wine build/bin/TWK64.exe "$sample_windows" </dev/null >/dev/null 2>&1 || true
  exit $status
fi

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

screenshot="$PWD/build/result-window.png"
rm -f "$screenshot"
wine build/bin/TWK64.exe "$target" </dev/null >/dev/null 2>&1 &
twk=$!
# The result comes after up to ten seconds of waiting for the target.
if read_twk_window 40000; then
  if [ "$twk_caption" = "Tarnwick" ]; then
    echo "TWK64.exe showed the message box: ${twk_lines[*]}"
  else
    echo "The result window of TWK64.exe says:"
    printf '  %s\n' "${twk_lines[@]}"
  fi
  if [ -z "${TWK_USE_DISPLAY:-}" ]; then
    sleep 0.5 # let it paint
    import -window root -crop "$twk_geometry" +repage "$screenshot"
    echo "Screenshot of it: $screenshot"
    if [ "$twk_caption" = "Tarnwick" ]; then
      wine build/bin/twk_result_window.exe TWK64.exe 5000 --answer </dev/null >/dev/null 2>&1 || true
    fi
  fi
else
  echo "TWK64.exe showed no result window within 40 seconds" >&2
fi
status=0
wait "$twk" || status=$?
echo "TWK64.exe exit code: $status"
