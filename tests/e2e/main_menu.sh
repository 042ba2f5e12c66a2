#!/usr/bin/env bash
# The main menu after start-up: once the title logo has arrived, the logo and
# the buttons show where they stand; clicking Quit (and answering yes when a
# question shows) ends the run with status 0 before the frame limit.
source "$(dirname "$0")/lib.bash"

run() {
    "$VELMORA" --headless --user-dir "$TMP/user" "$@" > "$TMP/log" 2>&1 || fail "exit status $? ($(cat "$TMP/log"))"
}

# The menu is current about 170 frames after the splash; the logo takes
# about 500 more.
menu_at=$((SPLASH_FRAMES + 800))
run --frames "$menu_at" --screenshot "$TMP/menu.png"
grep -q '^Changing to: MainMenu$' "$TMP/log" || fail "no main menu: $(cat "$TMP/log")"

if command -v python3 > /dev/null; then
    python3 - "$TMP/menu.png" "$(dirname "$0")" <<'PY' || fail "the screenshot does not show the menu"
import sys
sys.path.insert(0, sys.argv[2])
from pngpixels import design_pixels

pixel = design_pixels(sys.argv[1])

def looks(name, dx, dy, test, what):
    p = pixel(dx, dy)
    if not test(p):
        problems.append(f"{name} at {dx},{dy} is {p}, not {what}")

problems = []
sky = lambda p: p[2] > p[0] + 40                          # the blue sky of the backdrop
plum = lambda p: p[2] > p[1] + 25 and p[0] > p[1] and max(p) < 160  # the plum panels
looks("the city behind the logo", 512, 330, lambda p: sum(p) > 300 and not plum(p), "the city map")
looks("the sky above the city", 300, 20, lambda p: sky(p) or min(p) > 200, "sky or cloud")
looks("the heart of the emblem", 512, 190, lambda p: p[0] > 180 and p[1] < 140, "berry")
looks("the name's letters", 512, 100, lambda p: not sky(p), "the name")
looks("the left flourish's gem", 292, 190, lambda p: p[0] > 180 and p[1] < 150, "berry")
looks("the welcome panel", 70, 740, plum, "plum")
looks("the button panel", 940, 600, plum, "plum")
looks("the play button", 920 + 68 + 20, 550 + 112 + 40, lambda p: p[1] > p[0] + 30 and p[1] > p[2] + 30, "green")
looks("the options button", 48 + 130 + 20, 657 + 68 + 18, lambda p: p[2] > p[0] + 60, "blue")
looks("the quit button", 1124 + 28, 14 + 40, lambda p: p[0] > 180 and p[1] < 130, "coral")
print("\n".join(problems) or "pixels ok")
sys.exit(1 if problems else 0)
PY
else
    echo "python3 not found: pixel checks skipped"
fi

# Quit: the button's centre; when the confirmation pop-up asks, Enter
# answers yes once it has slid in.
cat > "$TMP/script.txt" <<SCRIPT
$((menu_at - 100)) click $((1124 + 28)) $((14 + 28))
$((menu_at + 50)) key enter
SCRIPT
limit=$((menu_at + 600))
status=0
"$VELMORA" --headless --user-dir "$TMP/user" --frames "$limit" --input "$TMP/script.txt" > "$TMP/log" 2>&1 || status=$?
[ "$status" -eq 0 ] || fail "quit: exit status $status ($(tail -3 "$TMP/log"))"
quit_frame=$(sed -n 's/^> Quit in frame \([0-9]*\)$/\1/p' "$TMP/log")
[ -n "$quit_frame" ] && [ "$quit_frame" -lt "$limit" ] || fail "Quit did not end the run: $(tail -3 "$TMP/log")"
echo "ok: main menu, quit in frame $quit_frame"
