# Shared helpers of the end-to-end scripts (sourced, not a test of its own).
set -euo pipefail
VELMORA="$(realpath "$1")"
TMP="$(mktemp -d)"
trap 'rm -rf "$TMP"' EXIT
export SDL_VIDEODRIVER="${SDL_VIDEODRIVER:-dummy}" SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"

# Frames the start-up splash takes with the pack's two cards (each fades in,
# stays three seconds and fades out); a run reaches the loading screen after
# them, so scripts that act on the game count from here.
SPLASH_FRAMES=402

fail() { echo "FAIL: $*" >&2; exit 1; }

# Prints "WIDTH HEIGHT" of a PNG file, failing when it is not a PNG.
png_size() {
    local sig
    sig="$(od -An -tx1 -N8 "$1" | tr -d ' \n')"
    [ "$sig" = "89504e470d0a1a0a" ] || fail "$1 is not a PNG"
    local w h
    w=$((16#$(od -An -tx1 -j16 -N4 "$1" | tr -d ' \n')))
    h=$((16#$(od -An -tx1 -j20 -N4 "$1" | tr -d ' \n')))
    echo "$w $h"
}
