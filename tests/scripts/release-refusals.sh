#!/bin/bash
# scripts/release.sh refuses, with a reason and without writing a zip: a
# folder that is not a git checkout, a checkout with changes (a changed file,
# a new file), and a machine where tools are missing. Each case runs the
# working copy of the script in a small repository of its own.
# Usage: release-refusals.sh <source dir> <scratch dir>
set -u
source_dir=$1
scratch=$2
rm -rf "$scratch"
mkdir -p "$scratch"
export GIT_CEILING_DIRECTORIES=$scratch
failures=0

# A repository holding the two scripts, committed.
make_checkout() { # dir
  mkdir -p "$1/scripts"
  cp "$source_dir/scripts/release.sh" "$source_dir/scripts/install-deps.sh" "$1/scripts/"
  git -C "$1" init -q
  git -C "$1" add -A
  git -C "$1" -c user.name=test -c user.email=test@example.invalid commit -qm "scripts"
}

# Runs the release in dir with the given PATH and expects exit code 1, the
# reason on stderr and no dist/.
expect_refusal() { # case dir path reason
  local output status=0
  output=$(cd "$2" && PATH=$3 bash scripts/release.sh 2>&1 >/dev/null) || status=$?
  if [ "$status" -ne 1 ] || [[ $output != *"$4"* ]] || [[ $output != *"no zip written"* ]] || [ -e "$2/dist" ]; then
    echo "FAILED: $1: exit code $status, dist/ $([ -e "$2/dist" ] && echo present || echo absent), said:"
    echo "$output"
    failures=$((failures + 1))
  else
    echo "ok: $1: $4"
  fi
}

mkdir -p "$scratch/plain/scripts"
cp "$source_dir/scripts/release.sh" "$source_dir/scripts/install-deps.sh" "$scratch/plain/scripts/"
expect_refusal "no checkout" "$scratch/plain" "$PATH" "is not a git checkout with a commit"

make_checkout "$scratch/changed"
echo "# changed" >>"$scratch/changed/scripts/install-deps.sh"
expect_refusal "changed file" "$scratch/changed" "$PATH" "changes that are not committed"

make_checkout "$scratch/new-file"
touch "$scratch/new-file/notes.txt"
expect_refusal "new file" "$scratch/new-file" "$PATH" "changes that are not committed"

# Every program on the PATH but the 32-bit resource compiler and fakeroot.
mkdir -p "$scratch/bin"
IFS=: read -r -a path_dirs <<<"$PATH"
for dir in "${path_dirs[@]}"; do
  for program in "$dir"/*; do
    name=${program##*/}
    case $name in i686-w64-mingw32-windres | fakeroot) continue ;; esac
    [ -x "$program" ] && [ ! -e "$scratch/bin/$name" ] && ln -s "$program" "$scratch/bin/$name"
  done
done
make_checkout "$scratch/tools"
expect_refusal "missing tools" "$scratch/tools" "$scratch/bin" "missing tools: fakeroot i686-w64-mingw32-windres"

rm -rf "$scratch"
[ "$failures" -eq 0 ]
