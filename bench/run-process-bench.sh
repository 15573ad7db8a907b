#!/bin/bash
# Builds (when needed) and runs the process engine benchmark under Wine in the
# build tree's own prefix, then ends that tree's Wine processes and display.
# Usage: bench/run-process-bench.sh [build directory, default: build] [quiet]
# ("quiet": only the exe sizes and the quiet desktop)
# The ending stops every Wine program of that build tree, so do not run it
# while a test run uses the same tree.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
sections=${2:-}
cd "$root"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake --preset default -B "$build"
fi
cmake --build "$build" --target twk_bench_process
status=0
"$build/wine-run.sh" "$build/bin/twk_bench_process.exe" $sections || status=$?
tests/harness/wine-stop.sh "$root/$build/wine"
exit $status
