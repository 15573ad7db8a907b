#!/bin/bash
# Ends the build tree's wineserver (and with it every Wine process of the
# prefix) and its Xvfb display.
# Usage: wine-stop.sh <harness root>
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh" "$1"
if [ -d "$WINEPREFIX" ]; then
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
fi
if [ -f "$TWK_WINE_ROOT/xvfb.pid" ]; then
  kill "$(cat "$TWK_WINE_ROOT/xvfb.pid")" 2>/dev/null
  rm -f "$TWK_WINE_ROOT/xvfb.pid" "$TWK_WINE_ROOT/display"
fi
exit 0
