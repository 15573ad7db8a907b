#!/bin/bash
# Installs what building and testing need on Debian 12, skipping what is
# there: both MinGW-w64 cross compilers, CMake, GoogleTest sources, Wine
# (64-bit only: never wine32, which this kind of kernel cannot run), Xvfb, a
# Japanese font, Wine's own fonts (Marlett draws the title-bar buttons) and
# ImageMagick for screenshots.
set -eu
packages=(
  cmake make
  # the release zip: its files belong to root under fakeroot, whoever packs
  fakeroot
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  googletest
  wine wine64
  xvfb xauth
  fonts-ipafont-gothic fonts-wine
  imagemagick
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
