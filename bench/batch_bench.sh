#!/usr/bin/env bash
# Times quarvell-batch on a generated list of parts, CSV in to CSV out, on one core, and
# measures its resident memory. Usage: bench/batch_bench.sh [BUILD_DIR] [PARTS]
# (a Release build, default build/release; 1000000 parts). Needs GNU time (Debian's "time").
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
parts=${2:-1000000}
program=$build/batch/quarvell-batch
if [ ! -x "$program" ]; then
    echo "no $program: cmake --preset release && cmake --build --preset release --target quarvell-batch" >&2
    exit 2
fi
if [ ! -x /usr/bin/time ]; then
    echo "GNU time is needed for the memory figure: apt-get install time" >&2
    exit 2
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A board's mix, cycled: both Notices, every type, levels, rates, life tests, environments,
# some parts overstressed or derated, reference designators and quantities.
awk -v n="$parts" 'BEGIN {
    split("10.1b 10.1c 10.1d 10.1e 10.1f 10.1g 10.1h 10.1i 10.1j 10.1k 10.4 10.10 10.11 10.12 10.13 10.14 10.15 10.12b 10.15b", types, " ");
    split("100n 4u7 10 22uF 1nF 470 2p2 0.1 33 1000", caps, " ");
    split("6.3 10 16 25 35 50 63 100", volts, " ");
    split("M P R S non-er commercial 0.25% test:200/5000/2 D non-er-q3", levels, " ");
    split("GB GF GM NS NU AIC AIF AUC AUF ARW SF MF ML CL", envs, " ");
    print "ref,type,capacitance,rated_voltage,applied_voltage,temperature,quality,environment,quantity";
    for (i = 0; i < n; i++) {
        v = volts[i % 8 + 1];
        printf "C%d,%s,%s,%s,%.4g,%d,%s,%s,%d\n", i + 1, types[i % 19 + 1], caps[i % 10 + 1], v,
            v * ((i % 7) + 2) / 10, 25 + (i * 7) % 100, levels[i % 10 + 1], envs[i % 14 + 1], i % 4 + 1;
    }
}' > "$work/parts.csv"

echo "machine load before: $(cut -d' ' -f1-3 /proc/loadavg) (1, 5, 15 min) on $(nproc) cores"
/usr/bin/time -v -o "$work/time.txt" taskset -c 1 "$program" "$work/parts.csv" -o "$work/out.csv" \
    --summary 2> "$work/summary.txt" || true
cat "$work/summary.txt"
seconds=$(awk -F': ' '/Elapsed \(wall clock\)/ { n = split($2, t, ":"); s = 0;
    for (i = 1; i <= n; i++) s = s * 60 + t[i]; print s }' "$work/time.txt")
cpu=$(awk -F': ' '/User time|System time/ { s += $2 } END { print s }' "$work/time.txt")
rss=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/time.txt")
# On a shared machine the wall clock counts the time other processes held the core; the CPU
# time is what the program itself took.
awk -v p="$parts" -v s="$seconds" -v c="$cpu" -v r="$rss" -v in_="$(stat -c %s "$work/parts.csv")" \
    -v out="$(stat -c %s "$work/out.csv")" 'BEGIN {
    printf "%d parts, %.1f MB in, %.1f MB out\n", p, in_ / 1e6, out / 1e6
    printf "wall %.2f s: %.0f parts/s; CPU (user + system) %.2f s: %.0f parts/s\n", s, p / s, c, p / c
    printf "max RSS %.1f MB\n", r / 1024 }'
echo "machine load after: $(cut -d' ' -f1-3 /proc/loadavg)"
