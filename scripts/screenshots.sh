#!/usr/bin/env bash
# Takes the README's pictures of the built program on an X server of its own: the main window
# after a draw (main-window.png) and the appearance-rate settings dialog (setup-dialog.png).
# Usage: screenshots.sh <build directory> [output directory, docs by default]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "$1" && pwd)"
out="$(mkdir -p "${2:-$root/docs}" && cd "${2:-$root/docs}" && pwd)"

work="$(mktemp -d)"
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
# -noreset: otherwise the server resets when its last client leaves. It writes its display
# number once it accepts clients.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>/dev/null &
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"

# A portable copy with settings of its own, so the pictures show the defaults.
cp -r "$build/bin" "$work/program"
mkdir -m 700 "$work/run"
XDG_RUNTIME_DIR="$work/run" "$work/program/numerisphere" &
app=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --pid "$app" | head -n 1)
# No window manager activates the window: focus it, and its title becomes the program's.
xdotool windowfocus --sync "$window"
timeout 20 bash -c "until [ \"\$(xdotool getwindowname $window)\" = Numerisphere ]; do sleep 0.1; done"

xdotool key --clearmodifiers ctrl+g
sleep 0.5 # the display repaints
import -window "$window" "$out/main-window.png"

xdotool key --clearmodifiers ctrl+o
dialog=$(timeout 20 bash -c "until xdotool search --onlyvisible --pid $app | grep -v -x $window; do sleep 0.1; done" | head -n 1)
sleep 0.5 # the dialog paints
import -window "$dialog" "$out/setup-dialog.png"
xdotool windowfocus --sync "$dialog" key Escape
xdotool windowfocus --sync "$window" key --clearmodifiers ctrl+w
wait "$app"
echo "Pictures: $out/main-window.png $out/setup-dialog.png"
