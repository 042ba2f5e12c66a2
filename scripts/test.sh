#!/usr/bin/env bash
# One command from a fresh clone to a green test run: installs the packages,
# builds everything, runs every test, checks the content pack and runs the
# fuzz targets briefly. CI calls exactly this.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh

export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
ctest --test-dir build --output-on-failure -j "$(nproc 2>/dev/null || echo 2)"

for step in scripts/test.d/*.sh; do
  [ -e "$step" ] || continue
  echo "== $step"
  bash "$step"
done
