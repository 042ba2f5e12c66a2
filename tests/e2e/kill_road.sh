#!/usr/bin/env bash
# A kill at any moment loses at most the last step and never pays twice: the
# built-in player plays the game from the main menu and the process kills
# itself with SIGKILL at random frames (in levels, on summaries, on the map
# in the middle of purchases and their fades, while saving; --kill-at-frame).
# After every kill the profile still loads, its progress never goes back, its
# cash is exactly the coins of the levels it has won less the prices of what
# it has bought, every purchase is recorded once, and the map holds each
# bought building and none of the eyesores bought away.
#
#   kill_road.sh VELMORA [KILLS]     (KILLS: default 60; VELMORA_KILLS too)
source "$(dirname "$0")/lib.bash"
KILLS="${2:-${VELMORA_KILLS:-60}}"
USER_DIR="$TMP/user"
declare -A COINS   # "S-L" -> coins the level pays, from the run logs

# Index of a level on the road: stages of 13, 19, 20, 21 and 22 levels.
road_index() {
    local stage=$1 level=$2 lengths=(13 19 20 21 22) i=0 s
    for ((s = 1; s < stage; s++)); do i=$((i + lengths[s - 1])); done
    echo $((i + level))
}
level_at() { # road index -> "S-L"
    local n=$1 lengths=(13 19 20 21 22) s=1
    while [ "$n" -gt "${lengths[s - 1]}" ]; do n=$((n - lengths[s - 1])); s=$((s + 1)); done
    echo "$s-$n"
}
value() { # block file, key -> the first value
    sed -nE "s/^[[:space:]]*$2 = \"?([^\",]*)\"?.*/\1/p" "$1" | head -1
}
# The catalogue's prices and removals: "id price reversed" per map object.
GAME="$(dirname "$VELMORA")/../Game"
[ -d "$GAME" ] || GAME="$(pwd)/Game"
declare -A PRICE REVERSED
while read -r id price rev; do
    PRICE[$id]=$price
    REVERSED[$id]=$rev
done < <(awk '/^MapObject/ {id = ""; price = 0; rev = 0; depth = 0}
              /\{/ {depth++} /\}/ {depth--; if (depth == 0 && id != "") print id, price, rev}
              depth == 1 && /^[[:space:]]*Id = / {id = $3}
              depth == 1 && /^[[:space:]]*Price = / {price = $3}
              depth == 1 && /^[[:space:]]*IsExistReversed = / {rev = $3}' "$GAME/Data/MapScreen/MapObjects.txt")
[ "${#PRICE[@]}" -gt 30 ] || fail "the map catalogue could not be read"

RANDOM=4242
last_index=1
restarts=0
for ((k = 1; k <= KILLS; k++)); do
    # Half of the kills fall anywhere in the next few levels; the other half
    # just after a level ends (its summary, the payment and its save). The
    # moment of that end comes from a dry run of the same player on a copy:
    # the same seed from the same saved state plays the same frames.
    # A third lands just after a level ends (its summary, the payment and its
    # save), a third on the map just after a Buy (the payment, its save and
    # the fades that follow), the rest anywhere in the next few levels. The
    # moments come from a dry run of the same player on a copy: the same
    # seed from the same saved state plays the same frames.
    kill_at=$((1 + RANDOM % 6000))
    if [ $((k % 3)) -ne 1 ]; then
        rm -rf "$TMP/dry"
        [ -d "$USER_DIR" ] && cp -r "$USER_DIR" "$TMP/dry"
        "$VELMORA" --headless --autoplay --autoplay-levels 1 --seed "$k" --user-dir "$TMP/dry" > "$TMP/dry.log" 2>&1 || true
        if [ $((k % 3)) -eq 0 ]; then
            at=$(sed -nE 's/^> buy in player frame ([0-9]+)$/\1/p' "$TMP/dry.log" | head -1)
            [ -n "$at" ] && kill_at=$((at + RANDOM % 700))
        else
            at=$(sed -nE 's/^> level end in player frame ([0-9]+)$/\1/p' "$TMP/dry.log" | head -1)
            [ -n "$at" ] && kill_at=$((at + RANDOM % 150))
        fi
        cat "$TMP/dry.log" >> "$TMP/all.log"
    fi
    ( "$VELMORA" --headless --autoplay --seed "$k" --kill-at-frame "$kill_at" --user-dir "$USER_DIR" \
        > "$TMP/run.log" 2>&1 || : ) 2>/dev/null
    cat "$TMP/run.log" >> "$TMP/all.log"

    while read -r lv coins; do
        [ -z "${COINS[$lv]:-}" ] || [ "${COINS[$lv]}" -eq "$coins" ] \
            || fail "level $lv paid ${COINS[$lv]} coins once and $coins another time"
        COINS[$lv]=$coins
    done < <(sed -nE 's/^level ([0-9]+-[0-9]+) won in .* coins ([0-9]+)$/\1 \2/p' "$TMP/all.log")
    : > "$TMP/all.log"

    list="$USER_DIR/Profiles/Profiles.txt"
    [ -f "$list" ] || { [ "$k" -lt 3 ] && continue; fail "kill $k: no profile list after $k runs"; }
    id=$(value "$list" CurrProfile)
    prof="$USER_DIR/Profiles/$id.txt"
    [ -f "$prof" ] || fail "kill $k: the list names $id but $prof is missing"
    stage=$(value "$prof" Stage); level=$(value "$prof" Level); money=$(value "$prof" Money)
    [ -n "$stage" ] && [ -n "$level" ] && [ -n "$money" ] || fail "kill $k: $prof cannot be read: $(cat "$prof")"
    [ "$stage" -ge 1 ] || continue # a profile made but no game started yet
    index=$(road_index "$stage" "$level")
    [ "$index" -ge "$last_index" ] || fail "kill $k: progress went back from road level $last_index to $index"
    last_index=$index
    expected=0
    for ((i = 1; i < index; i++)); do
        lv=$(level_at "$i")
        [ -n "${COINS[$lv]:-}" ] || fail "kill $k: level $lv counts as won but no run reported winning it"
        expected=$((expected + COINS[$lv]))
    done
    bought=$(value "$prof" BoughtUpgrades)
    objects=" $(value "$prof" Objects) "
    spent=0
    for id in $bought; do
        [ -n "${PRICE[$id]:-}" ] || fail "kill $k: bought $id, which is no map object"
        spent=$((spent + PRICE[$id]))
        if [ "${REVERSED[$id]}" = 1 ]; then
            [[ "$objects" != *" $id "* ]] || fail "kill $k: $id was bought away but is back on the map"
        else
            [[ "$objects" == *" $id "* ]] || fail "kill $k: $id was bought but is not on the map"
        fi
    done
    [ "$(tr ' ' '\n' <<< "$bought" | sed '/^$/d' | sort | uniq -d)" = "" ] \
        || fail "kill $k: a purchase was recorded twice: $bought"
    [ "$money" -eq $((expected - spent)) ] \
        || fail "kill $k: cash $money at $stage-$level, but the levels won paid $expected and purchases cost $spent"
    # Near the end of the road a fresh player starts, so that later kills
    # still land in levels and summaries.
    if [ "$index" -ge 80 ]; then
        rm -rf "$USER_DIR"
        last_index=1
        restarts=$((restarts + 1))
    fi
done
[ "$last_index" -gt 1 ] || [ "$restarts" -gt 0 ] || fail "no level was won in $KILLS runs"
echo "$KILLS kills ($restarts fresh players): the profile always loaded, never went back, and its cash was what the levels won paid"
