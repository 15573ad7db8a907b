#!/bin/bash
# The settings window benchmark (twk_bench_settings.exe), through run-bench.sh.
# Usage: bench/run-settings-bench.sh [build directory, default: build]
exec bash "$(dirname "$0")/run-bench.sh" twk_bench_settings "${1:-build}"
