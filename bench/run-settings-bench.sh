#!/bin/bash
# Builds (when needed) and runs the settings window benchmark under Wine in the
# build tree's own prefix, then ends that tree's Wine processes and display.
# Usage: bench/run-settings-bench.sh [build directory, default: build]
# The ending stops every Wine program of that build tree, so do not run it
# while a test run uses the same tree.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
cd "$root"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake --preset default -B "$build"
fi
cmake --build "$build" --target twk_bench_settings
status=0
"$build/wine-run.sh" "$build/bin/twk_bench_settings.exe" || status=$?
tests/harness/wine-stop.sh "$root/$build/wine"
exit $status
