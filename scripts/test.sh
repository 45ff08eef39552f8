#!/usr/bin/env bash
# Installs what is missing, builds Numerisphere and runs the whole test suite.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/scripts/packages.sh"
nmr_install_packages "${nmr_run_packages[@]}" "${nmr_test_packages[@]}"
nmr_took "installing packages"

build="$root/build"
nmr_build "$root" "$build"
nmr_took "build"
ctest --test-dir "$build" --output-on-failure --parallel 2
nmr_took "suite"

# The same suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer and halting
# on the first error.
cd "$root"
cmake --preset sanitize
cmake --build --preset sanitize --parallel
nmr_took "sanitizer build"
ctest --preset sanitize --parallel 2
nmr_took "suite with the sanitizers"
