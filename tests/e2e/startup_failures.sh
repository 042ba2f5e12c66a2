#!/usr/bin/env bash
# A game folder without Local.txt ends the start with a non-zero status and a
# message naming the file; unknown options end with status 2.
source "$(dirname "$0")/lib.bash"

mkdir -p "$TMP/game"
set +e
"$VELMORA" --headless --frames 10 --game-dir "$TMP/game" --user-dir "$TMP/user" > "$TMP/log" 2>&1
status=$?
set -e
[ "$status" -ne 0 ] || fail "missing Local.txt: exit status 0"
grep -q "$TMP/game/Local.txt" "$TMP/log" || fail "path not named: $(cat "$TMP/log")"

set +e
"$VELMORA" --no-such-option > "$TMP/log" 2>&1
status=$?
set -e
[ "$status" -eq 2 ] || fail "unknown option: exit status $status"
grep -q "unknown option '--no-such-option'" "$TMP/log" || fail "unknown option not named"

"$VELMORA" --help | grep -q -- "--headless" || fail "--help does not list --headless"
"$VELMORA" --version | grep -q "^Velmora " || fail "--version"
echo ok
