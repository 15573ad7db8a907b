#!/bin/bash
# Proves that the release is reproducible: clones this checkout's last commit
# twice, into two different directories, and runs the release command
# (scripts/release.sh) in each, one after the other, so at different times;
# the second build also runs with another time zone, locale and umask. The
# two zips, and the exes in them, must be the same byte for byte, and no exe
# may name either clone's directory. Prints both SHA256SUMS.
#
# It builds the project twice from scratch (about six minutes in all on two
# cores) and needs about 2 GB in $TMPDIR (default /tmp) while it runs; the
# clones are removed when the check passes and kept for a look when it fails.
set -eu
cd "$(dirname "$0")/.."

commit=$(git rev-parse --verify HEAD)
work=$(mktemp -d "${TMPDIR:-/tmp}/twk-reproducible.XXXXXX")
first="$work/first/Tarnwick"
second="$work/second/a-longer/path to the clone"

release_in() { # dir [env settings...]
  local dir=$1
  shift
  git clone -q --no-local "$PWD" "$dir"
  git -C "$dir" checkout -q --detach "$commit"
  echo "== $(date -u '+%Y-%m-%d %H:%M:%S') UTC: release of $commit in $dir $*"
  (cd "$dir" && env "$@" bash scripts/release.sh) >"$dir.log" 2>&1 || {
    tail -30 "$dir.log" >&2
    echo "The release in $dir failed (log: $dir.log)" >&2
    exit 1
  }
}

release_in "$first" TZ=UTC LC_ALL=C.UTF-8
(umask 027 && release_in "$second" TZ=Asia/Tokyo LC_ALL=C)

same=yes
cmp "$first/dist/SHA256SUMS" "$second/dist/SHA256SUMS" || same=no
for zip in "$first"/dist/Tarnwick-*.zip; do
  cmp "$zip" "$second/dist/$(basename "$zip")" || same=no
done
for exe in TWK64.exe TWK.exe; do
  cmp "$first/build-release/bin/zipped/$exe" "$second/build-release/bin/zipped/$exe" || same=no
  if grep -a -q -F -e "$work" "$first/build-release/bin/zipped/$exe" "$second/build-release/bin/zipped/$exe"; then
    echo "$exe names the directory of a clone" >&2
    same=no
  fi
done

echo
echo "First build ($first):"
cat "$first/dist/SHA256SUMS"
echo "Second build ($second):"
cat "$second/dist/SHA256SUMS"
if [ "$same" != yes ]; then
  echo "NOT reproducible: the two builds differ (kept in $work)" >&2
  exit 1
fi
rm -rf "$work"
echo "Reproducible: commit $commit gives the same zip and exes in both builds."
