#!/bin/bash
# Installs what is missing, builds both exes and runs every test under Wine.
set -eu
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
status=0
ctest --preset default -j2 || status=$?
# The cleanup test ends the wineserver and Xvfb; this catches an interrupted run.
tests/harness/wine-stop.sh "$PWD/build/wine"
exit $status
