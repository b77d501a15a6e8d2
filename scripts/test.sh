#!/usr/bin/env bash
# Installs what is missing, builds and runs every test.
# CORVANTELLER_BUILD_DIR and extra cmake options (as arguments) choose another build,
# e.g. the sanitizer build of .ci/run.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
set -o pipefail

ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
BUILD_DIR="${CORVANTELLER_BUILD_DIR:-$ROOT/build-test}"
configure_and_build "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANTELLER_WERROR=ON "$@"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$BUILD_DIR" --output-on-failure --parallel "$(nproc)" --timeout 600 \
    | tee "$BUILD_DIR/ctest.log"
