#!/usr/bin/env bash
# Installs what is missing, builds Numerisphere and runs the whole test suite.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/scripts/packages.sh"
nmr_install_packages

build="$root/build"
cmake -S "$root" -B "$build" -G Ninja
cmake --build "$build" --parallel
ctest --test-dir "$build" --output-on-failure --parallel 2
