#!/usr/bin/env bash
# Installs what is missing, builds Numerisphere and starts it.
# With no display it starts the program under Xvfb, draws once, takes pictures of the main window
# and the settings dialog (scripts/screenshots.sh), closes the program as a user would (Ctrl+W)
# and prints where the pictures are.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/scripts/packages.sh"

headless=
[ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && headless=1
if [ -n "$headless" ]; then
    nmr_install_packages "${nmr_run_packages[@]}" "${nmr_headless_packages[@]}"
else
    nmr_install_packages "${nmr_run_packages[@]}"
fi

build="$root/build"
nmr_build "$root" "$build"
program="$build/bin/numerisphere"
if [ -z "$headless" ]; then
    exec "$program"
fi

bash "$root/scripts/screenshots.sh" "$build" "$build"
