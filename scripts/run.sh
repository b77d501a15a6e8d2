#!/usr/bin/env bash
# Installs what is missing, builds and starts Corvanteller.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ensure_packages "${BUILD_PACKAGES[@]}"
configure_and_build "$ROOT/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANTELLER_TESTS=OFF \
    -DCORVANTELLER_BENCH=OFF
if [[ -x "$ROOT/build/src/app/corvanteller" ]]; then
    exec "$ROOT/build/src/app/corvanteller" "$@"
fi
exec "$ROOT/build/src/app/corvanteller-cli" --help
