#!/usr/bin/env bash
# Runs the fuzz harnesses, each for a bounded time on a copy of its seed corpus (the seeds in
# the tree stay as they are), one after the other. An input that breaks a harness's rule is
# kept in BUILD_DIR/fuzz-findings/ and fails the run.
#   fuzz/run.sh [BUILD_DIR] [SECONDS] [HARNESS...]   (defaults: build/fuzz, 30, all four)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/fuzz}
seconds=${2:-30}
shift $(($# < 2 ? $# : 2))
harnesses=("$@")
((${#harnesses[@]})) || harnesses=(number_text key_sequence replay_script parts_list)

findings=$(realpath -m "$build/fuzz-findings")
mkdir -p "$findings"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

status=0
for h in "${harnesses[@]}"; do
    cp -r "fuzz/corpus/$h" "$work/$h"
    dict=()
    [ -f "fuzz/$h.dict" ] && dict=(-dict="fuzz/$h.dict")
    log="$work/$h.log"
    start=$(date +%s)
    if TMPDIR="$work" "$build/fuzz/${h}_fuzzer" -max_total_time="$seconds" -print_final_stats=1 \
        "${dict[@]}" -artifact_prefix="$findings/$h-" "$work/$h" >"$log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        cov=$(grep -E '^#[0-9]+' "$log" | tail -1 | grep -oE 'cov: [0-9]+ ft: [0-9]+' || true)
        echo "$h: $runs runs in $(($(date +%s) - start)) s, $cov"
    else
        status=1
        echo "$h: FAILED; the input is in $findings/"
        grep -A3 -E 'rule broken|ERROR:' "$log" | head -20 || tail -40 "$log"
    fi
done
exit $status
