#!/usr/bin/env bash
# Builds the data-file fuzz targets with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) into build-fuzz/ and runs each for a short fixed
# time. Any crash, leak, sanitizer report or failed invariant fails the step;
# the input that caused it is kept in build-fuzz/fuzz/artifacts/.
#
# Longer runs, e.g. ten minutes per target, or just some targets:
#   FUZZ_SECONDS=600 scripts/test.d/30-fuzz.sh
#   FUZZ_SECONDS=600 FUZZ_TARGETS="blockfile rcmfile" scripts/test.d/30-fuzz.sh
# or run one binary by hand with any libFuzzer options:
#   build-fuzz/fuzz/fuzz_blockfile -max_total_time=600 /tmp/corpus fuzz/corpus/blockfile
set -euo pipefail
cd "$(dirname "$0")/../.."

seconds="${FUZZ_SECONDS:-20}"
targets="${FUZZ_TARGETS:-blockfile inifile txtfile linetokens rcmfile mapfiles}"
build="${FUZZ_BUILD_DIR:-build-fuzz}"
jobs=$(nproc 2>/dev/null || echo 2)

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DVELMORA_FUZZ=ON -DVELMORA_TESTS=OFF -DVELMORA_TOOLS=OFF >/dev/null
cmake --build "$build" --target fuzz_all -j "$jobs"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
artifacts="$build/fuzz/artifacts"
mkdir -p "$artifacts"

# Seeds: the small inputs in fuzz/corpus/<target> plus matching files of the
# content pack when it holds them.
game_seeds() {
  local target="$1" dest="$2"
  [ -d Game ] || return 0
  local pattern
  case "$target" in
    blockfile|rcmfile) pattern='.*\.\(txt\|dat\)$' ;;
    mapfiles) pattern='.*/MapScreen/.*\.txt$' ;;
    inifile) pattern='.*\(GlobalVars\.txt\|\.ini\)$' ;;
    txtfile|linetokens) pattern='.*/[Ll]ocal/.*\.txt$' ;;
    *) return 0 ;;
  esac
  find Game -type f -iregex "$pattern" -size -64k -print0 |
    while IFS= read -r -d '' f; do
      cp "$f" "$dest/$(echo "$f" | tr '/' '_')"
    done
}

failed=()
for t in $targets; do
  bin="$build/fuzz/fuzz_$t"
  corpus="$work/$t"
  seeds="$work/seeds-$t"
  mkdir -p "$corpus" "$seeds"
  game_seeds "$t" "$seeds"
  echo "== fuzz_$t for ${seconds}s"
  if "$bin" -max_total_time="$seconds" -max_len=8192 -timeout=10 \
       -artifact_prefix="$artifacts/$t-" -print_final_stats=1 \
       "$corpus" "fuzz/corpus/$t" "$seeds" >"$work/$t.log" 2>&1; then
    grep -E '^stat::number_of_executed_units' "$work/$t.log" | sed "s/^/   fuzz_$t /" || true
  else
    echo "fuzz_$t FAILED:"
    tail -n 40 "$work/$t.log"
    failed+=("$t")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "30-fuzz: failing targets: ${failed[*]} (inputs in $artifacts)"
  exit 1
fi
echo "30-fuzz: all targets ran clean"
