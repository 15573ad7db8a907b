#!/bin/bash
# Makes the build tree's Wine environment ready: the prefix (created once),
# an Xvfb display and a persistent wineserver. Idempotent and safe to call
# from several test programs at once.
# Usage: wine-prepare.sh <harness root>
set -eu
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh" "$1"
mkdir -p "$TWK_WINE_ROOT" "$HOME"

exec 9>"$TWK_WINE_ROOT/lock"
flock 9

# Background programs must not hold the caller's pipes or the lock open.
detach() { setsid "$@" </dev/null >/dev/null 2>&1 9>&- & }

# The server's socket sits in a directory named after the prefix's device
# and inode, under /tmp/.wine-<uid> or (Debian) a /tmp/wine-XXXXXX directory.
server_running() {
  local name socket
  [ -d "$WINEPREFIX" ] || return 1
  name=$(printf 'server-%x-%x' "$(stat -c %d "$WINEPREFIX")" "$(stat -c %i "$WINEPREFIX")")
  for socket in /tmp/.wine-"$(id -u)"/"$name"/socket /tmp/wine-*/"$name"/socket; do
    [ -S "$socket" ] && return 0
  done
  return 1
}

if [ ! -f "$WINEPREFIX/.twk-ready" ]; then
  rm -rf "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 9>&-
  { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$here/prefix-settings.reg"; } >"$TWK_WINE_ROOT/prefix-settings.reg"
  wine regedit /S "$TWK_WINE_ROOT/prefix-settings.reg" >/dev/null 2>&1 9>&-
  wine winecfg -v win10 >/dev/null 2>&1 9>&-
  wineserver -w
  touch "$WINEPREFIX/.twk-ready"
fi

# Marlett draws the title-bar buttons (the close box as a cross, not a
# letter); Debian's Wine does not put it into a prefix by itself.
marlett=/usr/share/wine/fonts/marlett.ttf
if [ -f "$marlett" ] && [ ! -f "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf" ]; then
  cp "$marlett" "$WINEPREFIX/drive_c/windows/Fonts/"
fi

# The display: the one named by TWK_USE_DISPLAY (the user's, for run.sh), or
# a private Xvfb display. The file "display" holds its name (":90").
display_alive() {
  [ -f "$TWK_WINE_ROOT/display" ] || return 1
  [ -f "$TWK_WINE_ROOT/xvfb.pid" ] || return 0
  kill -0 "$(cat "$TWK_WINE_ROOT/xvfb.pid")" 2>/dev/null
}

if [ -n "${TWK_USE_DISPLAY:-}" ]; then
  echo "$TWK_USE_DISPLAY" >"$TWK_WINE_ROOT/display"
elif ! display_alive; then
  n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  detach Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp
  echo $! >"$TWK_WINE_ROOT/xvfb.pid"
  echo ":$n" >"$TWK_WINE_ROOT/display"
  for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.05; done
  [ -e "/tmp/.X11-unix/X$n" ] || { echo "Xvfb :$n did not start" >&2; exit 1; }
fi
DISPLAY=$(cat "$TWK_WINE_ROOT/display")
export DISPLAY

if ! server_running; then
  detach wineserver -p
  for _ in $(seq 100); do server_running && break; sleep 0.05; done
  # Start Wine's own system processes now, with no pipe of a test attached:
  # they live as long as the server and would otherwise keep ctest waiting.
  wine wineboot </dev/null >/dev/null 2>&1 9>&-
  # Likewise Wine's desktop process, which a test's first window would start.
  keeper="$TWK_WINE_ROOT/../bin/twk_desktop_keeper.exe"
  rm -f "$TWK_WINE_ROOT/keeper.ready"
  if [ -f "$keeper" ]; then
    detach wine "$keeper" "$(winepath -w "$TWK_WINE_ROOT/keeper.ready" 2>/dev/null)"
    for _ in $(seq 200); do [ -f "$TWK_WINE_ROOT/keeper.ready" ] && break; sleep 0.05; done
  fi
fi
