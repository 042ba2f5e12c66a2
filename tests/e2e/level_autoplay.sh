#!/usr/bin/env bash
# The built-in player wins every level of stage 1 with two seeds, playing
# through the mouse input path; a level it cannot finish in time ends with
# status 3 and a "lost" line; a level that does not exist ends the run with
# a message naming its file.
source "$(dirname "$0")/lib.bash"
GAME="$(dirname "$VELMORA")/../Game"
[ -d "$GAME" ] || GAME="$(pwd)/Game"

# The figures of a won level: at least one move was made, something was
# scored, and the score is the sum of what the level paid.
check_figures() {
    local what="$1" line="$2" moves score paid
    moves=$(sed -E 's/.* s, ([0-9]+) moves, .*/\1/' <<< "$line")
    score=$(sed -E 's/.*, score ([0-9]+), .*/\1/' <<< "$line")
    paid=$(sed -E 's/.*, paid ([0-9]+), .*/\1/' <<< "$line")
    [ "$moves" -gt 0 ] || fail "$what: won with $moves moves ($line)"
    [ "$score" -gt 0 ] || fail "$what: won with score $score ($line)"
    [ "$score" -eq "$paid" ] || fail "$what: score $score is not the $paid the level paid ($line)"
}

for seed in 1 2; do
    for l in $(seq 1 13); do
        status=0
        "$VELMORA" --headless --level "1-$l" --autoplay --exit-on-level-end --seed "$seed" \
            --user-dir "$TMP/user" > "$TMP/log" 2>&1 || status=$?
        [ "$status" -eq 0 ] || fail "level 1-$l seed $seed: exit status $status ($(tail -3 "$TMP/log"))"
        line=$(grep -E "^level 1-$l won in [0-9]+ s, [0-9]+ moves, score [0-9]+, paid [0-9]+, coins [0-9]+$" "$TMP/log") \
            || fail "level 1-$l seed $seed: no won line ($(tail -3 "$TMP/log"))"
        check_figures "level 1-$l seed $seed" "$line"
    done
done

# A copy of the game folder whose level 1-1 allows two seconds.
mkdir -p "$TMP/game/Data/levels/stage-1"
for e in "$GAME"/*; do [ "$(basename "$e")" = Data ] || ln -s "$(realpath "$e")" "$TMP/game/"; done
for e in "$GAME"/Data/*; do [ "$(basename "$e")" = levels ] || ln -s "$(realpath "$e")" "$TMP/game/Data/"; done
sed 's/^\(\s*seconds = \).*/\12/' "$GAME/Data/levels/stage-1/Level-1.txt" > "$TMP/game/Data/levels/stage-1/Level-1.txt"
status=0
"$VELMORA" --headless --game-dir "$TMP/game/" --level 1-1 --autoplay --exit-on-level-end --seed 1 \
    --user-dir "$TMP/user" > "$TMP/log" 2>&1 || status=$?
[ "$status" -eq 3 ] || fail "short level: exit status $status, not 3 ($(tail -3 "$TMP/log"))"
grep -Eq "^level 1-1 lost in 2 s, [0-9]+ moves, score [0-9]+, paid [0-9]+, coins [0-9]+$" "$TMP/log" || fail "short level: no lost line ($(tail -3 "$TMP/log"))"

# The relaxed mode never loses by time: the same level is won.
status=0
"$VELMORA" --headless --game-dir "$TMP/game/" --level 1-1 --relaxed --autoplay --exit-on-level-end --seed 1 \
    --user-dir "$TMP/user" > "$TMP/log" 2>&1 || status=$?
[ "$status" -eq 0 ] || fail "relaxed level: exit status $status ($(tail -3 "$TMP/log"))"
line=$(grep -E "^level 1-1 won in [0-9]+ s, [0-9]+ moves, score [0-9]+, paid [0-9]+, coins [0-9]+$" "$TMP/log") \
    || fail "relaxed level: no won line ($(tail -3 "$TMP/log"))"
check_figures "relaxed level" "$line"

status=0
"$VELMORA" --headless --level 9-99 --autoplay --exit-on-level-end --user-dir "$TMP/user" > "$TMP/log" 2>&1 || status=$?
[ "$status" -eq 1 ] || fail "missing level: exit status $status, not 1"
grep -q "stage-9/Level-99.txt" "$TMP/log" || fail "missing level: the file is not named ($(tail -3 "$TMP/log"))"
echo "ok"
