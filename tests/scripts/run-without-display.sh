#!/bin/bash
# scripts/run.sh as a user without a display runs it: it prints the two lines
# of the real result window and saves a screenshot of it in the build tree;
# for a path that does not exist it prints TWK64.exe's message, answers the
# box nobody sees and ends with exit code 1 instead of hanging.
# Usage: run-without-display.sh <source dir> <build dir>
set -u
cd "$1"
# run.sh works in the checkout's build/; any other tree has nothing to show.
if [ "$(cd "$2" && pwd -P)" != "$(pwd -P)/build" ]; then
  echo "skipped: $2 is not $1/build"
  exit 77
fi
screenshot="$2/result-window.png"
failures=0

expect() { # case output text
  if [[ $2 == *"$3"* ]]; then
    echo "ok: $1: $3"
  else
    echo "FAILED: $1: no \"$3\" in:"
    echo "$2"
    failures=$((failures + 1))
  fi
}

# A PNG of the window: its signature, and more than a few bytes.
expect_screenshot() { # case
  if [ "$(head -c 8 "$screenshot" 2>/dev/null | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] &&
    [ "$(stat -c %s "$screenshot")" -gt 1000 ]; then
    echo "ok: $1: screenshot $screenshot"
  else
    echo "FAILED: $1: no screenshot at $screenshot"
    failures=$((failures + 1))
  fi
}

rm -f "$screenshot"
output=$(env -u DISPLAY timeout 120 bash scripts/run.sh 2>&1)
expect sample "$output" $'The result window of TWK64.exe says:\n  C:\\Program Files\\Tarnwick Sample\\sample.exe\n  のプロセス終了はほぼ正常に行われました'
expect sample "$output" "Screenshot of it: $screenshot"
expect sample "$output" "TWK64.exe exit code: 0"
expect_screenshot sample

rm -f "$screenshot"
output=$(env -u DISPLAY timeout 120 bash scripts/run.sh 'C:\no\such\program.exe' 2>&1)
expect "missing path" "$output" "TWK64.exe showed the message box: プロセスのEXEが存在しません"
expect "missing path" "$output" "TWK64.exe exit code: 1"
expect_screenshot "missing path"

[ "$failures" -eq 0 ]
