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
    python3 - "$TMP/menu.png" <<'PY' || fail "the screenshot does not show the menu"
import struct, sys, zlib

def read_png(path):
    data = open(path, "rb").read()
    pos, idat = 8, b""
    while pos < len(data):
        n, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + n]
        if kind == b"IHDR":
            w, h, depth, ctype = struct.unpack(">IIBB", body[:10])
        elif kind == b"IDAT":
            idat += body
        pos += 12 + n
    assert depth == 8 and ctype in (2, 6), "unexpected PNG format"
    bpp = 4 if ctype == 6 else 3
    raw, stride, rows, prev = zlib.decompress(idat), w * bpp, [], bytearray(w * bpp)
    for y in range(h):
        f, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b, c = prev[i], prev[i - bpp] if i >= bpp else 0
            if f == 1: line[i] = (line[i] + a) & 255
            elif f == 2: line[i] = (line[i] + b) & 255
            elif f == 3: line[i] = (line[i] + (a + b) // 2) & 255
            elif f == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(line)
        prev = line
    return w, h, bpp, rows

w, h, bpp, rows = read_png(sys.argv[1])
scale = min(w / 1366, h / 768)
ox, oy = (w - 1366 * scale) / 2 + 171 * scale, (h - 768 * scale) / 2

def pixel(dx, dy):
    x, y = int(ox + dx * scale), int(oy + dy * scale)
    return tuple(rows[y][x * bpp:x * bpp + 3])

def looks(name, dx, dy, test, what):
    p = pixel(dx, dy)
    if not test(p):
        problems.append(f"{name} at {dx},{dy} is {p}, not {what}")

problems = []
sky = lambda p: p[2] > p[0] + 40                          # the blue sky of the backdrop
plum = lambda p: p[2] > p[1] + 25 and p[0] > p[1] and max(p) < 160  # the plum panels
looks("sky between the logo and the panels", 512, 330, sky, "sky")
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
