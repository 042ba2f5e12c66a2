#!/usr/bin/env bash
# The road through the real buttons, as a new player takes it: an input script
# clicks every button (the built-in player only makes the moves in levels).
# First start: the default player; Change player makes ANN and BOB (the
# profiles pop-up with three players); Play; the mode choice (timed); level
# 1-1 is won and its summary's OK leads to the map, where the first object
# is bought (the buy window, the fade) and Play leads to 1-2; the in-game
# menu opens and resumes; 1-2 is won and the map's Play leads to 1-3, which,
# cut to 2 s in a copy of the pack, is lost; the lose pop-up leads to the
# main menu; Quit asks and saves. Starting again, BOB's game continues at 1-3
# with the cash of the two levels won less the purchase, and the
# in-game menu's Menu leaves the level for the main menu after its question.
# Screenshots of each step go to $VELMORA_SHOTS (default: a scratch folder).
source "$(dirname "$0")/lib.bash"
GAME="$(dirname "$VELMORA")/../Game"
[ -d "$GAME" ] || GAME="$(pwd)/Game"
SHOTS="${VELMORA_SHOTS:-$TMP/shots}"
mkdir -p "$SHOTS" "$TMP/game"
cp -r "$GAME"/. "$TMP/game/"
sed -i 's/^\(\s*seconds = \).*/\12/' "$TMP/game/Data/levels/stage-1/Level-3.txt"

# Design-area points of the buttons; frames after the 402 of the splash.
cat > "$TMP/road.txt" <<SCRIPT
900  screenshot $SHOTS/main-menu.png
950  click 524 742        # Change player
1020 click 382 555        # New
1080 text Ann
1090 key enter
1150 click 382 555        # New
1210 text Bob
1220 key enter
1280 screenshot $SHOTS/profiles.png
1290 click 618 553        # OK
1360 click 1069 700       # Play
1420 screenshot $SHOTS/mode-choice.png
1430 click 479 409        # Timed
2480 screenshot $SHOTS/summary.png
2540 click 518 582        # OK: on to the map
2800 screenshot $SHOTS/map.png
2810 click 286 698        # the first object of the chapter
2860 screenshot $SHOTS/buy-window.png
2870 click 657 581        # Buy
3000 screenshot $SHOTS/map-fading-in.png
3600 screenshot $SHOTS/map-bought.png
3610 click 972 712        # Play: on to level 1-2
4030 click 9 28           # the level's Menu button
4100 screenshot $SHOTS/in-game-menu.png
4110 click 512 302        # Resume
6100 click 518 582        # OK after 1-2: on to the map
6450 click 972 712        # Play: on to 1-3
7080 screenshot $SHOTS/lose.png
7130 click 500 509        # Main menu
7640 click 1152 40        # Quit
7710 screenshot $SHOTS/quit-question.png
7720 click 436 450        # OK: save and quit
SCRIPT

status=0
"$VELMORA" --headless --autoplay --seed 1 --game-dir "$TMP/game" --user-dir "$TMP/user" --input "$TMP/road.txt" \
    --frames 9000 > "$TMP/log" 2>&1 || status=$?
[ "$status" -eq 0 ] || fail "exit status $status ($(tail -3 "$TMP/log"))"
frame=$(sed -nE 's/^> Quit in frame ([0-9]+)$/\1/p' "$TMP/log")
[ "$frame" -lt 9000 ] || fail "Quit and its question did not end the run (quit in frame $frame)"
for l in "1-1 won" "1-2 won" "1-3 lost"; do
    grep -qE "^level $l in " "$TMP/log" || fail "no line 'level $l' ($(grep -E '^level' "$TMP/log"))"
done

declare -A seen
for shot in main-menu profiles mode-choice summary map buy-window map-fading-in map-bought in-game-menu lose \
    quit-question; do
    f="$SHOTS/$shot.png"
    [ -f "$f" ] || fail "no screenshot $shot"
    [ "$(png_size "$f")" = "1366 768" ] || fail "$shot is $(png_size "$f")"
    sum=$(md5sum < "$f")
    [ -z "${seen[$sum]:-}" ] || fail "$shot looks the same as ${seen[$sum]}: a click missed"
    seen[$sum]=$shot
done

list="$TMP/user/Profiles/Profiles.txt"
[ "$(grep -c '^Profile' "$list")" -eq 3 ] || fail "not three players: $(cat "$list")"
bob="$TMP/user/Profiles/66-79-66.txt"
grep -qE '^CurrProfile = "66-79-66"$' "$list" || fail "BOB is not the current player"
for kv in "Stage = 1" "Level = 3" "Money = 26" "Mode = 1"; do
    grep -qE "^[[:space:]]*$kv$" "$bob" || fail "BOB's file lacks '$kv': $(cat "$bob")"
done

# Starting again: Play continues BOB's game at 1-3.
"$VELMORA" --headless --autoplay --autoplay-levels 1 --seed 1 --game-dir "$TMP/game" --user-dir "$TMP/user" \
    > "$TMP/log2" 2>&1 || fail "second start: exit status $?"
grep -qE "^level 1-3 " "$TMP/log2" || fail "the second start did not continue at 1-3 ($(grep -E '^level' "$TMP/log2"))"
grep -qE "^[[:space:]]*Money = 26$" "$bob" || fail "the cash changed on a lost level: $(grep Money "$bob")"
grep -qE '^[[:space:]]*BoughtUpgrades = "1 "$' "$bob" || fail "the purchase was not kept: $(grep Bought "$bob")"
grep -qE '^[[:space:]]*Objects = ".* 1( .*)?"$' "$bob" || fail "the map lost the purchase: $(grep Objects "$bob")"
# Once more through the buttons: Play continues at 1-3; the in-game menu's
# Menu asks, and yes leaves for the main menu; Quit asks and ends the run.
cat > "$TMP/leave.txt" <<SCRIPT
950  click 1069 700       # Play: continue
1410 click 9 28           # the level's Menu button
1480 click 512 497        # Menu
1550 screenshot $SHOTS/leave-question.png
1560 click 436 450        # OK
2000 click 1152 40        # Quit
2070 click 436 450        # OK
SCRIPT
"$VELMORA" --headless --autoplay --seed 1 --game-dir "$TMP/game" --user-dir "$TMP/user" --input "$TMP/leave.txt" \
    --frames 3000 > "$TMP/log3" 2>&1 || fail "third start: exit status $?"
[ "$(grep -c '^Changing to: MainMenu$' "$TMP/log3")" -eq 2 ] || fail "leaving the level did not return to the main menu"
frame=$(sed -nE 's/^> Quit in frame ([0-9]+)$/\1/p' "$TMP/log3")
[ "$frame" -lt 3000 ] || fail "the third start did not quit from the main menu (quit in frame $frame)"
echo "road through the buttons: three players, 1-1 and 1-2 won, 1-3 lost, quit saved, continued at 1-3, left from the level"
