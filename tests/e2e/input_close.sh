#!/usr/bin/env bash
# An input script that closes the window ends the run with status 0 long
# before the frame limit; a screenshot asked for by the script is written,
# and the pause screen shown while the focus is lost differs from a normal frame.
source "$(dirname "$0")/lib.bash"

# After the splash: move the pointer, lose the focus, take pictures, come
# back and close.
cat > "$TMP/script.txt" <<SCRIPT
$((SPLASH_FRAMES + 3)) move 500 300
$((SPLASH_FRAMES + 5)) screenshot SHOTS/normal.png
$((SPLASH_FRAMES + 10)) focus lost
$((SPLASH_FRAMES + 12)) screenshot SHOTS/paused.png
$((SPLASH_FRAMES + 15)) focus gained
$((SPLASH_FRAMES + 20)) close
SCRIPT
sed -i "s#SHOTS#$TMP#" "$TMP/script.txt"

"$VELMORA" --headless --frames 1000 --input "$TMP/script.txt" --user-dir "$TMP/user" > "$TMP/log" 2>&1 \
    || fail "exit status $? ($(cat "$TMP/log"))"
grep -q "Quit in frame $((SPLASH_FRAMES + 20))" "$TMP/log" || fail "did not quit at frame $((SPLASH_FRAMES + 20)): $(cat "$TMP/log")"
png_size "$TMP/normal.png" > /dev/null
png_size "$TMP/paused.png" > /dev/null
if cmp -s "$TMP/normal.png" "$TMP/paused.png"; then
    fail "the pause screen looks like a normal frame"
fi

# A script with a mistake is refused before anything starts.
echo "7 jump" > "$TMP/bad.txt"
set +e
"$VELMORA" --headless --frames 10 --input "$TMP/bad.txt" --user-dir "$TMP/user" > "$TMP/log" 2>&1
status=$?
set -e
[ "$status" -eq 2 ] || fail "bad script: exit status $status"
grep -q "bad.txt:1: unknown event 'jump'" "$TMP/log" || fail "bad script not reported: $(cat "$TMP/log")"
echo ok
