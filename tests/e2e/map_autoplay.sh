#!/usr/bin/env bash
# The city grows as a player plays: from a fresh user folder the built-in
# player plays 40 levels and, on every map visit, buys each object of the
# chapter it can afford, in slot order, then presses Play. The purchases are
# printed, paid from the levels' coins, kept in the profile, and the map is
# photographed after each visit; the screenshots after the first three
# chapters differ from each other and from the first visit.
# Screenshots go to $VELMORA_SHOTS (default: a scratch folder).
source "$(dirname "$0")/lib.bash"
SHOTS="${VELMORA_SHOTS:-$TMP/shots}"
mkdir -p "$SHOTS"

"$VELMORA" --headless --autoplay --autoplay-levels 40 --seed 1 --user-dir "$TMP/user" \
    --autoplay-shots "$SHOTS" > "$TMP/log" 2>&1 || fail "exit status $? ($(tail -3 "$TMP/log"))"
won=$(grep -cE "^level [0-9]+-[0-9]+ won in " "$TMP/log" || true)
[ "$won" -ge 40 ] || fail "only $won levels won ($(grep -E '^level' "$TMP/log" | tail -3))"
bought=$(grep -cE '^bought map object [0-9]+ ".+" for [0-9]+, cash left [0-9]+$' "$TMP/log" || true)
[ "$bought" -ge 12 ] || fail "only $bought purchases in 40 levels: three chapters need 12"

# The cash adds up: every coin won, less every price paid, is what is left.
coins=$(sed -nE 's/^level .* won in .*, coins ([0-9]+)$/\1/p' "$TMP/log" | awk '{s += $1} END {print s + 0}')
paid=$(sed -nE 's/^bought map object .* for ([0-9]+), .*/\1/p' "$TMP/log" | awk '{s += $1} END {print s + 0}')
list="$TMP/user/Profiles/Profiles.txt"
prof="$TMP/user/Profiles/$(sed -nE 's/^CurrProfile = "(.*)"/\1/p' "$list").txt"
money=$(sed -nE 's/^[[:space:]]*Money = ([0-9]+)$/\1/p' "$prof")
[ "$money" -eq $((coins - paid)) ] || fail "cash $money, but $coins coins were won and $paid paid"
ids=$(sed -nE 's/^[[:space:]]*BoughtUpgrades = "(.*)"$/\1/p' "$prof" | wc -w)
[ "$ids" -eq "$bought" ] || fail "$bought purchases printed, $ids kept in the profile"
etap=$(sed -nE 's/^[[:space:]]*Etap = ([0-9]+)$/\1/p' "$prof")
[ "$etap" -ge 3 ] || fail "the map is still in chapter $((etap + 1))"

# The level whose map visit completed chapter k: the 4k-th purchase.
chapter_level() {
    awk -v n=$((4 * $1)) '/^level .* won/ {l++} /^bought map object/ {b++; if (b == n) {print l; exit}}' "$TMP/log"
}
declare -A seen
for shot in first-visit buy-window "after-level-$(printf %02d "$(chapter_level 1)")" \
        "after-level-$(printf %02d "$(chapter_level 2)")" "after-level-$(printf %02d "$(chapter_level 3)")"; do
    f="$SHOTS/map-$shot.png"
    [ "$shot" = buy-window ] && f="$SHOTS/buy-window.png"
    [ -f "$f" ] || fail "no screenshot $f"
    [ "$(png_size "$f")" = "1366 768" ] || fail "$f is $(png_size "$f")"
    sum=$(md5sum < "$f")
    [ -z "${seen[$sum]:-}" ] || fail "$shot looks the same as ${seen[$sum]}"
    seen[$sum]=$shot
done
echo "map: $won levels won, $bought objects bought for $paid of $coins coins, chapter $((etap + 1)) open;" \
    "chapters 1-3 complete after levels $(chapter_level 1), $(chapter_level 2), $(chapter_level 3)"
