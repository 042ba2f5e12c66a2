#!/usr/bin/env bash
# Content pack checks: the committed generated files must be exactly what the
# generators make now, and the pack must pass the game's own content check.
set -euo pipefail
cd "$(dirname "$0")/../.."

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

tools/regenerate-content.sh "$tmp/Game" >/dev/null

# Every regenerated file must exist in Game/ with the same bytes.
differ=()
while IFS= read -r -d '' f; do
  rel="${f#"$tmp"/Game/}"
  if ! cmp -s "$f" "Game/$rel"; then
    differ+=("Game/$rel")
  fi
done < <(find "$tmp/Game" -type f -print0 | sort -z)

if [ ${#differ[@]} -gt 0 ]; then
  echo "20-content: generated files differ from the committed pack (run tools/regenerate-content.sh):"
  printf '  %s\n' "${differ[@]}"
  exit 1
fi
echo "20-content: generated pack matches the committed files"

# The game's own content check: every file read, every data file parsed, the
# authoring rules; one "FILE:LINE: message" line per problem.
velmora="${VELMORA_BIN:-build/velmora}"
if [ ! -x "$velmora" ]; then
  echo "20-content: $velmora is missing (build first)"
  exit 1
fi
"$velmora" --check-content --game-dir Game/
