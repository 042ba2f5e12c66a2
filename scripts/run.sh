#!/usr/bin/env bash
# One command from a fresh clone to a running game: installs the packages,
# builds, and starts build/velmora on the shipped Game/ folder.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
exec build/velmora "$@"
