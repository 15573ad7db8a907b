#!/bin/bash
# The process engine benchmark (twk_bench_process.exe), through run-bench.sh.
# Usage: bench/run-process-bench.sh [build directory, default: build] [quiet]
# ("quiet": only the exe sizes and the quiet desktop)
exec bash "$(dirname "$0")/run-bench.sh" twk_bench_process "${1:-build}" ${2:-}
