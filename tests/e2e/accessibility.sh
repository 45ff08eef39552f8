#!/usr/bin/env bash
# Starts the built program under Xvfb with a private session bus and the accessibility bus, and
# walks what a screen reader sees (accessibility.py). Usage: accessibility.sh <build directory>
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build="$(cd "$1" && pwd)"
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
    exec dbus-run-session -- bash "$0" "$@"
fi

work="$(mktemp -d)"
display=":$((200 + RANDOM % 100))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT
export DISPLAY="$display"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

cp -r "$build/bin" "$work/program" # a portable copy with settings of its own
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 XDG_RUNTIME_DIR="$work" "$work/program/numerisphere" &
app=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --pid "$app" | head -n 1)
xdotool windowfocus --sync "$window"
/usr/bin/python3 "$here/accessibility.py"
xdotool windowfocus --sync "$window" key --clearmodifiers ctrl+w
wait "$app"
