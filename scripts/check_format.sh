#!/usr/bin/env bash
# Fails when a tracked C++ source is not formatted as the checked-in .clang-format says.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ensure_packages clang-format
cd "$ROOT"
git ls-files -z -- '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror
echo "format: every tracked source is formatted"
