#!/usr/bin/env bash
# Takes the README's pictures of the built program on an X server of its own: the main window
# after a draw (main-window.png), the appearance-rate settings dialog (setup-dialog.png), the
# past results window with 2,500 made-up draws, its statistics (history-window.png) and its
# stored draws (history-draws.png), the tickets window with
# five tickets (tickets-window.png), the check window with them saved (check-window.png) and
# a wheel (wheel-window.png).
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

# A portable copy with settings of its own, so the pictures show the defaults, and 2,500 made-up
# draws in its history.
cp -r "$build/bin" "$work/program"
mkdir -m 700 "$work/run"
python3 - "$work/results.txt" <<'DRAWS'
import datetime, random, sys
random.seed(2500)
start = datetime.date(2000, 10, 5)
with open(sys.argv[1], 'w') as out:
    for draw in range(1, 2501):
        numbers = random.sample(range(1, 44), 7)
        day = start + datetime.timedelta(days=3 * draw)
        out.write(f'{draw} {day:%Y/%m/%d} {" ".join(map(str, numbers[:6]))} ({numbers[6]})\n')
DRAWS
XDG_RUNTIME_DIR="$work/run" "$work/program/numerisphere" --import "$work/results.txt" >/dev/null
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

xdotool windowfocus --sync "$window" key --clearmodifiers ctrl+h
history=$(timeout 20 bash -c "until xdotool search --onlyvisible --pid $app | grep -v -x $window; do sleep 0.1; done" | head -n 1)
sleep 0.5
import -window "$history" "$out/history-window.png"
# The stored draws' tab, by its access key.
xdotool windowfocus --sync "$history" key --clearmodifiers alt+r
sleep 0.5
import -window "$history" "$out/history-draws.png"
xdotool key Escape

# Five tickets with 3 and 11 fixed, saved for the last stored draw once the question is answered
# はい, and five more for the next.
other() { timeout 20 bash -c "until xdotool search --onlyvisible --pid $app | grep -v -x $window; do sleep 0.1; done" | head -n 1; }
xdotool windowfocus --sync "$window" key --clearmodifiers ctrl+m
tickets=$(other)
xdotool windowfocus --sync "$tickets" key --clearmodifiers alt+f type '3 11'
xdotool key --clearmodifiers alt+g
sleep 0.5
import -window "$tickets" "$out/tickets-window.png"
# One key a call: Qt takes mnemonics sent faster than that as one.
for key in alt+d Down alt+s alt+y; do
    xdotool key --clearmodifiers "$key"
    sleep 0.2
done
# No window manager gives the focus back once the question closes.
xdotool windowfocus --sync "$tickets"
for key in alt+g alt+d Up alt+s Escape; do
    xdotool key --clearmodifiers "$key"
    sleep 0.2
done

xdotool windowfocus --sync "$window" key --clearmodifiers ctrl+k
check=$(other)
xdotool windowfocus --sync "$check" key --clearmodifiers alt+r
sleep 0.5
import -window "$check" "$out/check-window.png"
xdotool windowfocus --sync "$check" key Escape

# A 3/4 wheel over ten numbers.
xdotool windowfocus --sync "$window" key --clearmodifiers ctrl+j
wheel=$(other)
xdotool windowfocus --sync "$wheel" type '3 7 11 19 22 27 31 38 40 42'
for key in alt+u Down alt+g; do
    xdotool key --clearmodifiers "$key"
    sleep 0.2
done
sleep 0.5
import -window "$wheel" "$out/wheel-window.png"
xdotool windowfocus --sync "$wheel" key Escape
xdotool windowfocus --sync "$window" key --clearmodifiers ctrl+w
wait "$app"
echo "Pictures: $out/main-window.png $out/setup-dialog.png $out/history-window.png" \
    "$out/history-draws.png" \
    "$out/tickets-window.png $out/check-window.png $out/wheel-window.png"
