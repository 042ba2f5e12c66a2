#!/usr/bin/env bash
# Rebuilds the content generators and regenerates every generated file of the
# content pack into OUT_DIR (default: Game/). The same machine gives the same
# bytes on every run. The fonts are not generated: they are read from Game/gfx/.
#
#   tools/regenerate-content.sh [OUT_DIR]
#
# Also writes the contact sheet (every generated picture with its name) to
# build-content/content-sheet.png, outside the pack.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$root/Game}"
build="${VELMORA_CONTENT_BUILD:-$root/build-content}"

for tool in gen_pictures gen_sounds gen_levels; do
  cmake -S "$root/tools/$tool" -B "$build/$tool" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$build/$tool" -j2 >/dev/null
done

mkdir -p "$out"
"$build/gen_pictures/gen_pictures" "$out" --fonts "$root/Game/gfx" --sheet "$build/content-sheet.png"
"$build/gen_sounds/gen_sounds" "$out"
"$build/gen_levels/gen_levels" "$out"
