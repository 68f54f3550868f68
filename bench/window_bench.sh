#!/usr/bin/env bash
# Times the calculator on screen against a minimal Qt Widgets window built the same way:
# start to window shown and resident memory (several runs each, medians), and the time from a
# scroll-bar step to the repainted result. Runs on a virtual X display of its own.
#   bench/window_bench.sh [build-directory] [runs]
# Needs a release build (cmake --preset release && cmake --build --preset release) and Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
runs=${2:-9}
program=$build/app/quarvell
minimal=$build/app/bench/quarvell-minimal-window
timer=$build/app/bench/quarvell-start-timer
scroll=$build/app/bench/quarvell-scroll-bench
for f in "$program" "$minimal" "$timer" "$scroll"; do
    [ -x "$f" ] || { echo "missing $f: build the release preset first" >&2; exit 2; }
done

display=:${QUARVELL_BENCH_DISPLAY:-88}
Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

median() { sort -g | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2}'; }
field() { sed -n "s/.*$1=\([^ ]*\).*/\1/p"; }

declare -A shown rss
for name in minimal quarvell; do
    shown[$name]=""
    rss[$name]=""
done
# Alternate the two programs so that both see the same machine state; one warm-up run each.
"$timer" "$minimal" >/dev/null 2>&1
"$timer" "$program" >/dev/null 2>&1
for _ in $(seq "$runs"); do
    for name in minimal quarvell; do
        exe=$minimal
        [ "$name" = quarvell ] && exe=$program
        line=$("$timer" "$exe" 2>/dev/null)
        shown[$name]+="$(echo "$line" | field shown_ms) "
        rss[$name]+="$(echo "$line" | field rss_kb) "
    done
done

shown_min=$(echo "${shown[minimal]}" | tr ' ' '\n' | grep . | median)
shown_app=$(echo "${shown[quarvell]}" | tr ' ' '\n' | grep . | median)
rss_min=$(echo "${rss[minimal]}" | tr ' ' '\n' | grep . | median)
rss_app=$(echo "${rss[quarvell]}" | tr ' ' '\n' | grep . | median)
steps=$(QT_QPA_PLATFORM=offscreen "$scroll" 2>/dev/null)
step_median=$(echo "$steps" | field step_to_repaint_median_us)
step_p90=$(echo "$steps" | field step_to_repaint_p90_us)

verdict() { awk -v v="$1" -v g="$2" 'BEGIN {print (v <= g) ? "met" : "MISSED"}'; }
ratio=$(awk -v a="$shown_app" -v b="$shown_min" 'BEGIN {printf "%.2f", a / b}')
rss_mb=$(awk -v k="$rss_app" 'BEGIN {printf "%.1f", k / 1024}')
step_ms=$(awk -v u="$step_median" 'BEGIN {printf "%.3f", u / 1000}')

echo "Runs: $runs each, medians; machine: $(nproc) cores, $(uname -m)"
printf '%-28s %10s %10s\n' "" "minimal" "Quarvell"
printf '%-28s %10s %10s\n' "start to window shown (ms)" "$shown_min" "$shown_app"
printf '%-28s %10s %10s\n' "resident memory (kB)" "$rss_min" "$rss_app"
echo "start-up ratio: $ratio (goal <= 1.3: $(verdict "$ratio" 1.3))"
echo "resident memory: $rss_mb MB (goal < 40 MB: $(verdict "$rss_mb" 40))"
echo "scroll-bar step to repaint: median $step_median us, 90th percentile $step_p90 us" \
     "(goal < 2 ms: $(verdict "$step_ms" 2))"
