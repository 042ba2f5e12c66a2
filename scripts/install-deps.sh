#!/usr/bin/env bash
# Installs the Debian packages Velmora needs to build, run, test and regenerate its content.
# Safe to run again: packages already present are skipped by apt.
set -euo pipefail

packages=(
  build-essential cmake pkg-config git
  libsdl2-dev libpng-dev libjpeg62-turbo-dev libvorbis-dev libogg-dev libfreetype-dev zlib1g-dev
  libgtest-dev googletest
  clang libclang-rt-14-dev
  libcairo2-dev
  fonts-dejavu-core fonts-comfortaa
  xvfb xauth mesa-utils libgl1-mesa-dri
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all packages present"
  exit 0
fi

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
echo "install-deps: installing ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
