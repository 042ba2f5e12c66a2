#!/usr/bin/env bash
# A headless run of 120 frames exits normally and writes the last frame as a
# PNG of the display's size.
source "$(dirname "$0")/lib.bash"

"$VELMORA" --headless --frames 120 --screenshot "$TMP/out.png" --user-dir "$TMP/user" > "$TMP/log" 2>&1 \
    || fail "exit status $? ($(cat "$TMP/log"))"
[ -s "$TMP/out.png" ] || fail "no screenshot written"
size="$(png_size "$TMP/out.png")"
case "$size" in
    "1366 768" | "1024 768") ;;
    *) fail "unexpected screenshot size $size" ;;
esac
grep -q "Quit in frame 121" "$TMP/log" || fail "did not run 120 frames: $(cat "$TMP/log")"
[ -d "$TMP/user/Data" ] && [ -d "$TMP/user/Profiles" ] || fail "user-data folders not made"
echo "ok: $size"
