#!/bin/sh
# Builds the libFuzzer targets with clang (ASan + UBSan) and runs each on its seed corpus.
# Usage: fuzz/run.sh [seconds per target, default 60] [build folder, default build-fuzz]
# Seconds 0 runs each target once over its seed corpus only (the short check of `make test`).
set -eu
cd "$(dirname "$0")/.."
SECONDS_PER_TARGET=${1:-60}
OUT=${2:-build-fuzz}
CXX=${FUZZ_CXX:-clang++}
FLAGS="-std=c++20 -g -O1 -I. -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined"
mkdir -p "$OUT/obj"
# The engine: every unit of the engine folders (as in CMakeLists.txt).
OBJS=""
for src in core/*.cpp settings/*.cpp stats/*.cpp kit/engine/*.cpp; do
  obj="$OUT/obj/$(echo "$src" | tr / _).o"
  if [ ! -f "$obj" ] || [ "$src" -nt "$obj" ] || [ -n "$(find core settings stats kit -name '*.h' -newer "$obj" | head -1)" ]; then
    $CXX $FLAGS -fsanitize=fuzzer-no-link -c "$src" -o "$obj" 2>&1 | sed 's/-fsanitize=fuzzer-no-link//' >&2
  fi
  OBJS="$OBJS $obj"
done
for src in fuzz/fuzz_*.cpp; do
  target=$(basename "$src" .cpp | sed 's/^fuzz_//')
  $CXX $FLAGS "$src" $OBJS -ljpeg -ldl -o "$OUT/fuzz_$target"
  mkdir -p "$OUT/corpus_$target" "fuzz/corpus/$target"
  # The block codec looks 4095 bytes back and cuts its input into chunks of 32,781: its inputs
  # must reach well past both.
  case "$target" in
    kitblock) MAX_LEN=65536 ;;
    *) MAX_LEN=4096 ;;
  esac
  if [ "$SECONDS_PER_TARGET" = 0 ]; then
    # Replays the seed files (and what earlier runs found) without mutating them.
    "$OUT/fuzz_$target" -runs=0 -max_len="$MAX_LEN" -timeout=5 "$OUT/corpus_$target" "fuzz/corpus/$target"
  else
    "$OUT/fuzz_$target" -max_total_time="$SECONDS_PER_TARGET" -max_len="$MAX_LEN" -timeout=5 \
      "$OUT/corpus_$target" "fuzz/corpus/$target"
  fi
done
