# Shared by run.sh and test.sh: the Debian packages the project needs, and the build.
# shellcheck shell=bash
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

BUILD_PACKAGES=(
    g++ cmake ninja-build pkg-config help2man
    qt6-base-dev libgl-dev libjpeg-dev
    fonts-dejavu-core
    libxlsxwriter-dev libgsf-1-dev libzip-dev libexpat1-dev libssl-dev
)
# The window tests run on Qt's offscreen platform: no X server needed. The fuzzer's clang is
# installed by scripts/fuzz.sh. The install test checks the desktop entry, the metainfo and the
# MIME entry with the desktop's own tools. The printing tests read the PDF files they write with
# poppler's pdftotext. An independent MIDI parser (mido) checks the files the text writer writes.
# Qt's lupdate (qt6-l10n-tools) checks that the texts marked for translation can be extracted.
TEST_PACKAGES=(
    libgtest-dev
    desktop-file-utils appstream shared-mime-info
    poppler-utils
    python3-mido
    qt6-l10n-tools
)
# scripts/package.sh: CPack's Debian package computes its dependencies with dpkg-shlibdeps;
# lintian checks the package as Debian would.
PACKAGE_PACKAGES=(
    dpkg-dev file lintian
)

# Checks a Debian package as Debian's archive would: any error or warning of lintian fails.
# Overrides, where a tag cannot be mended, travel inside the package.
check_package() {
    lintian --fail-on error,warning --display-info "$@"
}

# Installs whatever of the given packages is missing; quick when nothing is.
ensure_packages() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    if ((${#missing[@]} == 0)); then
        return 0
    fi
    echo "Installing: ${missing[*]}"
    local sudo=()
    if [[ $(id -u) -ne 0 ]]; then
        sudo=(sudo)
    fi
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}

# configure_and_build BUILD_DIR [cmake options...]
configure_and_build() {
    local dir="$1"
    shift
    cmake -S "$ROOT" -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir" --parallel "$(nproc)"
}
