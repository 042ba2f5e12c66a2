#!/usr/bin/env bash
# The way into the game: the loading screen sets up every screen, loader and
# pop-up (one per frame) while its bar fills, then the iris transition closes
# on it and opens on the main menu, which stays.
source "$(dirname "$0")/lib.bash"

run() {
    "$VELMORA" --headless --user-dir "$TMP/user" "$@" > "$TMP/log" 2>&1 || fail "exit status $? ($(cat "$TMP/log"))"
}

run --frames $((SPLASH_FRAMES + 900)) --screenshot "$TMP/menu.png"
expected="MainGame MainMenu Intro Outro MapScreen Credits CaptionsLoader CharactersLoader WarStory DialogShow
Options Profiles EnterName YesOrNo Scores LevelSummary PickMode Lose InGameMenu Dialogs Tutorial"
got="$(sed -n "s/^> Setting Up '\(.*\)'\.\.\.$/\1/p" "$TMP/log" | tr '\n' ' ')"
[ "$got" = "$(echo $expected) " ] || fail "set-up order: $got"
[ "$(grep -c '^Changing to: MainMenu$' "$TMP/log")" = 1 ] || fail "no single change to the main menu: $(cat "$TMP/log")"
grep -n -e "Setting Up 'Tutorial'" -e '^Changing to: MainMenu$' "$TMP/log" | head -1 | grep -q Tutorial \
    || fail "the main menu was asked for before the set-up ended"

# The first frame of the transition: the shortest run that asks for the menu.
lo=$((SPLASH_FRAMES + 1))
hi=$((SPLASH_FRAMES + 300))
while [ "$lo" -lt "$hi" ]; do
    mid=$(((lo + hi) / 2))
    run --frames "$mid"
    if grep -q '^Changing to: MainMenu$' "$TMP/log"; then hi=$mid; else lo=$((mid + 1)); fi
done
start=$lo

# Fifty-one updates close the iris, the switch, fifty-one open it, and the
# menu is current 103 updates after the start.
cat > "$TMP/script.txt" <<SCRIPT
$(((SPLASH_FRAMES + start) / 2)) screenshot $TMP/loading.png
$((start + 30)) screenshot $TMP/closing.png
$((start + 80)) screenshot $TMP/opening.png
$((start + 600)) screenshot $TMP/after.png
SCRIPT
run --frames $((start + 620)) --input "$TMP/script.txt" --screenshot "$TMP/end.png"
for shot in loading closing opening after end; do
    png_size "$TMP/$shot.png" > /dev/null
done
for pair in "loading closing" "closing opening" "opening after" "loading after"; do
    set -- $pair
    if cmp -s "$TMP/$1.png" "$TMP/$2.png"; then
        fail "$1 and $2 look the same"
    fi
done
# Once the transition and the title logo's arrival are over, the menu's
# panels and logo stand still while the city map pans slowly behind them.
cmp -s "$TMP/after.png" "$TMP/end.png" && fail "the city behind the menu does not move"
python3 - "$(dirname "$0")" "$TMP/after.png" "$TMP/end.png" "$TMP/menu.png" <<'PY' || fail "the menu moves after the transition"
import sys
sys.path.insert(0, sys.argv[1])
from pngpixels import design_pixels

shots = [design_pixels(f) for f in sys.argv[2:]]
# The button panel, the welcome panel, the logo's emblem and the quit button.
spots = [(940, 600), (70, 740), (512, 190), (1152, 54)]
bad = [(x, y, [s(x, y) for s in shots]) for x, y in spots if len({s(x, y) for s in shots}) != 1]
print(bad or "menu still")
sys.exit(1 if bad else 0)
PY
echo "ok: transition from frame $start"
