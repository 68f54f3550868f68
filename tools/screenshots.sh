#!/usr/bin/env bash
# Takes the README's screenshots of the real program under a virtual X display: the window as
# it starts, and after the worked example (10.1f, 10 uF, 10 V, 5 V, 50 °C, level M, G(B))
# typed with real key events. Needs Xvfb, xdotool and ImageMagick's import.
#   tools/screenshots.sh [path/to/quarvell] [output-directory]
set -euo pipefail
cd "$(dirname "$0")/.."
program=${1:-build/release/app/quarvell}
out=${2:-docs}
display=:${QUARVELL_SHOT_DISPLAY:-87}

Xvfb "$display" -screen 0 800x720x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

"$program" >/dev/null 2>&1 &
app=$!
trap 'kill "$app" "$xvfb" 2>/dev/null || true' EXIT
window=""
for _ in $(seq 100); do
    window=$(xdotool search --name "Failure Rate Model" 2>/dev/null | head -1) && [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "the calculator window did not appear" >&2; exit 1; }
xdotool windowfocus --sync "$window"
sleep 0.5
import -window "$window" "$out/window-start.png"

# Capacitance 10 and Enter, rated voltage 10 and Enter (the focus then lands on the
# temperature scroll bar, the voltage bar being still disabled when the Tab arrives), Tab to
# the failure-rate list and one entry up to "1.000%/kPcHr Exponent 'M'".
xdotool type --delay 60 10
xdotool key Return
sleep 0.3
xdotool type --delay 60 10
xdotool key Return
sleep 0.3
xdotool key Tab
sleep 0.2
xdotool key Up
sleep 0.5
import -window "$window" "$out/window-worked-example.png"
echo "wrote $out/window-start.png and $out/window-worked-example.png"
