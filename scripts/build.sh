#!/bin/bash
# Configures and builds TWK64.exe, TWK.exe (nested 32-bit build), the tests
# and the benchmarks into build/.
set -eu
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build --preset default
