#!/bin/bash
# Builds (when needed) and runs one benchmark program under Wine in the build
# tree's own prefix, then ends that tree's Wine processes and display.
# Usage: bench/run-bench.sh <program> [build directory, default: build] [arguments]
# The ending stops every Wine program of that build tree, so do not run it
# while a test run uses the same tree.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
program=$1
build=${2:-build}
shift $(($# < 2 ? $# : 2))
cd "$root"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake --preset default -B "$build"
fi
cmake --build "$build" --target "$program"
status=0
"$build/wine-run.sh" "$build/bin/$program.exe" "$@" || status=$?
tests/harness/wine-stop.sh "$root/$build/wine"
exit $status
