#!/usr/bin/env bash
# Installs what is missing, builds in build-package/ (optimised; CPack strips the programs) and
# makes the Debian package from it with CPack: build-package/corvanteller_<version>_<arch>.deb,
# its dependencies computed by dpkg-shlibdeps, then checked by lintian.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ensure_packages "${BUILD_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}"
BUILD_DIR="$ROOT/build-package"
configure_and_build "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANTELLER_TESTS=OFF \
    -DCORVANTELLER_BENCH=OFF
cd "$BUILD_DIR"
rm -f corvanteller_*.deb
cpack -G DEB
echo "Depends: $(dpkg-deb -f corvanteller_*.deb Depends)"
ls "$BUILD_DIR"/corvanteller_*.deb
check_package corvanteller_*.deb
