#!/usr/bin/env bash
# The game from the main menu: from a fresh user folder the built-in player
# clicks Play, picks the timed mode, wins twenty levels through the real
# summaries into stage 2, and quits saving; the next start continues there.
source "$(dirname "$0")/lib.bash"

"$VELMORA" --headless --autoplay --autoplay-levels 20 --seed 1 --user-dir "$TMP/user" > "$TMP/log" 2>&1 \
    || fail "exit status $? ($(tail -3 "$TMP/log"))"
won=$(grep -cE "^level [0-9]+-[0-9]+ won in " "$TMP/log" || true)
[ "$won" -ge 14 ] || fail "only $won levels won ($(grep -E '^level' "$TMP/log" | tail -3))"
grep -qE "^level 2-[0-9]+ won in " "$TMP/log" || fail "stage 2 never reached"
list="$TMP/user/Profiles/Profiles.txt"
[ -f "$list" ] || fail "no profile list was saved"
prof="$TMP/user/Profiles/$(sed -nE 's/^CurrProfile = "(.*)"/\1/p' "$list").txt"
grep -qE "^[[:space:]]*Stage = 2$" "$prof" || fail "the saved player is not in stage 2: $(cat "$prof")"
last=$(grep -E "^level" "$TMP/log" | tail -1 | sed -E 's/^level ([0-9]+-[0-9]+) .*/\1/')

# Starting again and pressing Play continues after the last level won.
"$VELMORA" --headless --autoplay --autoplay-levels 1 --seed 2 --user-dir "$TMP/user" > "$TMP/log2" 2>&1 \
    || fail "second start: exit status $?"
next=$(grep -E "^level" "$TMP/log2" | head -1 | sed -E 's/^level ([0-9]+-[0-9]+) .*/\1/')
[ "${last%-*}" = "${next%-*}" ] && [ "${next#*-}" -eq $((${last#*-} + 1)) ] \
    || fail "after $last the next start played $next"
echo "road: $won levels won into stage 2; the next start went on with $next"
