#!/usr/bin/env bash
# A pack in another folder: run from a working directory with no Game/ in it,
# the program reads everything from --game-dir, the paths written in data
# files with "[BDIR]" and "[LANG]" included, and a level plays to its end
# without one file missing.
source "$(dirname "$0")/lib.bash"
GAME="$(dirname "$VELMORA")/../Game"
[ -d "$GAME" ] || GAME="$(pwd)/Game"

cp -r "$GAME" "$TMP/pack"
mkdir -p "$TMP/elsewhere"
cd "$TMP/elsewhere"

status=0
"$VELMORA" --headless --game-dir "$TMP/pack" --level 1-1 --autoplay --exit-on-level-end --seed 1 \
    --user-dir "$TMP/user" > "$TMP/log" 2>&1 || status=$?
[ "$status" -eq 0 ] || fail "exit status $status ($(tail -3 "$TMP/log"))"
grep -qE "^level 1-1 won in " "$TMP/log" || fail "no won line ($(tail -3 "$TMP/log"))"
if grep -iE "not found|nie znaleziono|cannot (read|open|load)|missing" "$TMP/log" >&2; then
    fail "a file of the pack was looked for outside $TMP/pack"
fi
grep -q "Game/" "$TMP/log" && { grep "Game/" "$TMP/log" >&2; fail "the log names the default Game/ folder"; }
echo "pack in another folder: level 1-1 won, every file found"
