#!/usr/bin/env bash
# Fuzzes the readers of outside bytes: the karaoke reader, the MIDI parser of the text writer,
# the RTF reader, the .xlsx reader, the .xls record layer and the parser of the .xls helper's
# output. Builds the targets with clang, libFuzzer, AddressSanitizer and
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
cmake --build "$BUILD_DIR" --target kar_reader_fuzz kar_fuzz_seeds smf_writer_fuzz rtf_reader_fuzz rtf_fuzz_seeds \
    xlsx_reader_fuzz biff_records_fuzz xls_output_fuzz office_fuzz_seeds --parallel "$(nproc)"

export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

# run_fuzzer NAME MAX_LEN SEEDER [SEEDER_ARGUMENT...]: the seeder writes fresh first inputs
# into the seed folder on every run; the inputs the fuzzer finds on its own stay in a folder of
# their own for the next run.
run_fuzzer() {
    local name="$1" max_len="$2" seeder="$3"
    shift 3
    local seeds="$BUILD_DIR/$name-seeds"
    local corpus="$BUILD_DIR/$name-corpus"
    local artifacts="$BUILD_DIR/$name-artifacts"
    rm -rf "$seeds"
    mkdir -p "$corpus" "$artifacts"
    "$BUILD_DIR/fuzz/$seeder" "$@" "$seeds"
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

# Karaoke inputs up to three reading blocks of 8192 bytes, so that the block borders are
# reached; RTF inputs large enough for the deepest sample's 5,000 groups.
run_fuzzer kar_reader_fuzz 24576 kar_fuzz_seeds
# The writer's MIDI parser and its proof, from the same karaoke files.
run_fuzzer smf_writer_fuzz 24576 kar_fuzz_seeds
run_fuzzer rtf_reader_fuzz 16384 rtf_fuzz_seeds
run_fuzzer xlsx_reader_fuzz 65536 office_fuzz_seeds xlsx
# The .xls record layer starts from the workbook streams of spreadsheet-written files.
run_fuzzer biff_records_fuzz 131072 office_fuzz_seeds biff "$ROOT"/tests/office/data/*.xls
run_fuzzer xls_output_fuzz 4096 office_fuzz_seeds xls-output
