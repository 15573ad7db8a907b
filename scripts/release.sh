#!/bin/bash
# Builds the release from this checkout's last commit and writes
# dist/Tarnwick-<version>.zip and dist/SHA256SUMS (the zip, and the two exes
# as they are inside it). The tree must be clean: the zip is the product of
# a commit, so that anyone can rebuild the same bytes from it
# (scripts/check-reproducible.sh proves that).
#
# Steps: refuse a checkout with changes; install what is missing; check the
# tools; build TWK64.exe and TWK.exe in a fresh build-release/; pack the zip
# with CPack, unpack it and run the deliverable checks on the unpacked copies
# under Wine (ctest label "release"); only then copy the zip into dist/.
# Nothing is written into dist/ unless every step passed.
set -eu
cd "$(dirname "$0")/.."

fail() {
  echo "release: $*" >&2
  echo "release: no zip written" >&2
  exit 1
}

command -v git >/dev/null || fail "git is missing: the release is built from a git checkout (apt-get install git)"
git rev-parse --verify -q HEAD >/dev/null 2>&1 || fail "$PWD is not a git checkout with a commit: the release is built from a commit"
changes=$(git status --porcelain --untracked-files=normal)
if [ -n "$changes" ]; then
  echo "$changes" >&2
  fail "the checkout has changes that are not committed (listed above): commit or stash them first"
fi

bash scripts/install-deps.sh || fail "could not install the build tools (see above)"
tools=(cmake cpack ctest sha256sum fakeroot
  x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-windres x86_64-w64-mingw32-objdump
  i686-w64-mingw32-g++-posix i686-w64-mingw32-windres i686-w64-mingw32-objdump
  wine wineserver Xvfb)
missing=()
for tool in "${tools[@]}"; do
  command -v "$tool" >/dev/null || missing+=("$tool")
done
[ ${#missing[@]} -eq 0 ] || fail "missing tools: ${missing[*]} (bash scripts/install-deps.sh installs them)"

# File times in the zip: the commit's time, in UTC.
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
export SOURCE_DATE_EPOCH
export TZ=UTC
commit=$(git rev-parse HEAD)
echo "Building the release of commit $commit"

rm -rf build-release
cmake --preset release >/dev/null || fail "configuring build-release/ failed"
cmake --build --preset release || fail "the build failed"
ctest --preset release || fail "the zip or its exes failed their checks (see above)"

zips=(build-release/release/package/Tarnwick-*.zip)
[ ${#zips[@]} -eq 1 ] && [ -f "${zips[0]}" ] || fail "CPack wrote no single zip into build-release/release/package"
zip=${zips[0]}
name=$(basename "$zip")

mkdir -p dist
incoming=$(mktemp -d dist/.incoming.XXXXXX)
trap 'rm -rf "$incoming"' EXIT
cp "$zip" "$incoming/$name"
{
  (cd "$incoming" && sha256sum "$name")
  (cd build-release/bin/zipped && sha256sum TWK64.exe TWK.exe)
} >"$incoming/SHA256SUMS"
mv -f "$incoming/$name" "dist/$name"
mv -f "$incoming/SHA256SUMS" dist/SHA256SUMS

echo
echo "dist/$name and dist/SHA256SUMS (commit $commit):"
cat dist/SHA256SUMS
