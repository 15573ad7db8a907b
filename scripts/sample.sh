# Sourced by run.sh and screenshot.sh once the Wine environment is ready:
# puts a sample program of ours (a copy of the test fixture twk_target.exe,
# a plain window) into the prefix's C:\Program Files and offers functions to
# start it, to wait for windows by caption and to read what TWK64.exe shows
# at its end.
sample_unix="$WINEPREFIX/drive_c/Program Files/Tarnwick Sample/sample.exe"
sample_windows='C:\Program Files\Tarnwick Sample\sample.exe'
mkdir -p "$(dirname "$sample_unix")"
cp build/bin/twk_target.exe "$sample_unix"

# Wine reads the command line in the locale's encoding: captions are UTF-8.
case "${LC_ALL:-${LC_CTYPE:-${LANG:-}}}" in
*UTF-8* | *utf8*) ;;
*) export LC_ALL=C.UTF-8 ;;
esac

# Prints "<width>x<height>+<left>+<top>" of the window once it is visible;
# fails when it does not come within the time.
wait_for_window() { # caption timeout-ms
  local geometry
  geometry=$(wine build/bin/twk_window_rect.exe "$1" "$2" </dev/null 2>/dev/null) || return 1
  geometry=${geometry%$'\r'}
  [ -n "$geometry" ] || return 1
  echo "$geometry"
}

# Like wait_for_window, and does an action of twk_window_rect.exe on the
# window first ("select <row name>", "press <control id>", "close").
wait_for_window_doing() { # caption action...
  local caption=$1 geometry
  shift
  geometry=$(wine build/bin/twk_window_rect.exe "$caption" 15000 "$@" </dev/null 2>/dev/null) || return 1
  echo "${geometry%$'\r'}"
}

# Starts the sample in the background with a twk_target.exe mode ("close",
# "delay <ms>") and waits until its window is up.
start_sample() { # mode...
  wine "$sample_unix" "$@" </dev/null >/dev/null 2>&1 &
  wait_for_window "Tarnwick target" 15000 >/dev/null || { echo "The sample program did not start" >&2; exit 1; }
}

# Waits for what TWK64.exe shows at the end: its result window once complete,
# or a message box of its own. Sets twk_geometry (for ImageMagick's -crop),
# twk_caption and twk_lines (the result window's two lines, or the box's
# text), all read from the real window.
read_twk_window() { # timeout-ms
  local output
  output=$(wine build/bin/twk_result_window.exe TWK64.exe "$1" </dev/null 2>/dev/null) || return 1
  mapfile -t twk_lines < <(printf '%s\n' "$output" | tr -d '\r')
  [ ${#twk_lines[@]} -ge 3 ] || return 1
  twk_geometry=${twk_lines[0]}
  twk_caption=${twk_lines[1]}
  twk_lines=("${twk_lines[@]:2}")
}
