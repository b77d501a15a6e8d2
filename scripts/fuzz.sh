#!/usr/bin/env bash
# Fuzzes the karaoke reader: builds kar_reader_fuzz with clang, libFuzzer, AddressSanitizer
# and UndefinedBehaviorSanitizer, writes its seed corpus and runs it for SECONDS seconds.
# Fails when the fuzzer finds a crash or a broken invariant.
# Usage: scripts/fuzz.sh [SECONDS]   (default 60)
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

duration="${1:-60}"
if ! [[ "$duration" =~ ^[0-9]+$ ]] || ((duration < 1)); then
    echo "usage: $0 [SECONDS]" >&2
    exit 2
fi

ensure_packages "${BUILD_PACKAGES[@]}" clang libclang-rt-14-dev

BUILD_DIR="$ROOT/build-fuzz"
cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANTELLER_FUZZ=ON -DCORVANTELLER_SANITIZE=ON \
    -DCORVANTELLER_TESTS=OFF -DCORVANTELLER_BENCH=OFF >/dev/null
cmake --build "$BUILD_DIR" --target kar_reader_fuzz kar_fuzz_seeds --parallel "$(nproc)"

# Fresh seeds every run; the corpus the fuzzer grows is kept for the next run.
SEEDS="$BUILD_DIR/fuzz-seeds"
CORPUS="$BUILD_DIR/fuzz-corpus"
ARTIFACTS="$BUILD_DIR/fuzz-artifacts"
rm -rf "$SEEDS"
mkdir -p "$CORPUS" "$ARTIFACTS"
"$BUILD_DIR/fuzz/kar_fuzz_seeds" "$SEEDS"

# Inputs up to three reading blocks of 8192 bytes, so that the block borders are reached.
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
status=0
"$BUILD_DIR/fuzz/kar_reader_fuzz" -max_total_time="$duration" -max_len=24576 -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$ARTIFACTS/" \
    "$CORPUS" "$SEEDS" || status=$?
if ((status != 0)); then
    echo "kar_reader_fuzz failed (exit $status); reproducers:" >&2
    ls -l "$ARTIFACTS" >&2
    echo "Replay one with: $BUILD_DIR/fuzz/kar_reader_fuzz <file>" >&2
    exit 1
fi
echo "kar_reader_fuzz: no crash in $duration s"
