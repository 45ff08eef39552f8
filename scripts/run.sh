#!/usr/bin/env bash
# Installs what is missing, builds Numerisphere and starts it.
# With no display it starts the program under Xvfb, waits for the date banner, saves a
# screenshot, closes the program as a user would (Ctrl+W) and prints where the picture is.
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

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
export DISPLAY="$display"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

"$program" &
app=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --class numerisphere | head -n 1)
sleep 3 # the date banner comes 2.3 seconds after start
screenshot="$build/numerisphere-screenshot.png"
import -window "$window" "$screenshot"
xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers ctrl+w
wait "$app"
echo "Screenshot: $screenshot"
