#!/usr/bin/env bash
# Fuzzes the readers of outside bytes: the karaoke reader, the .xlsx reader and the parser of
# the .xls helper's output. Builds the targets with clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, writes their seed corpora and runs each for SECONDS seconds.
# Fails when a fuzzer finds a crash or a broken invariant.
# Usage: scripts/fuzz.sh [SECONDS]   (default 60, for each target)
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
cmake --build "$BUILD_DIR" --target kar_reader_fuzz kar_fuzz_seeds xlsx_reader_fuzz \
    xls_output_fuzz office_fuzz_seeds --parallel "$(nproc)"

# Fresh seeds every run; the corpora the fuzzers grow are kept for the next run.
SEEDS="$BUILD_DIR/fuzz-seeds"
rm -rf "$SEEDS"
"$BUILD_DIR/fuzz/kar_fuzz_seeds" "$SEEDS/kar"
"$BUILD_DIR/fuzz/office_fuzz_seeds" "$SEEDS/xlsx" "$SEEDS/xls-output"

export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

# run_target NAME SEED_FOLDER MAX_LEN
run_target() {
    local name="$1" seeds="$2" max_len="$3"
    local corpus="$BUILD_DIR/fuzz-corpus/$name"
    local artifacts="$BUILD_DIR/fuzz-artifacts/$name"
    mkdir -p "$corpus" "$artifacts"
    local status=0
    "$BUILD_DIR/fuzz/$name" -max_total_time="$duration" -max_len="$max_len" -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$artifacts/" \
        "$corpus" "$seeds" || status=$?
    if ((status != 0)); then
        echo "$name failed (exit $status); reproducers:" >&2
        ls -l "$artifacts" >&2
        echo "Replay one with: $BUILD_DIR/fuzz/$name <file>" >&2
        exit 1
    fi
    echo "$name: no crash in $duration s"
}

# Karaoke files up to three reading blocks of 8192 bytes, so that the block borders are reached.
run_target kar_reader_fuzz "$SEEDS/kar" 24576
run_target xlsx_reader_fuzz "$SEEDS/xlsx" 65536
run_target xls_output_fuzz "$SEEDS/xls-output" 4096
