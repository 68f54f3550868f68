#!/usr/bin/env bash
# Sets up what is missing, then builds and runs every test: the normal build and the
# sanitizer build (AddressSanitizer + UndefinedBehaviorSanitizer), plus the style check; the
# release build is built as well, and the fuzz harnesses of the readers run for 30 seconds each.
set -euo pipefail
cd "$(dirname "$0")"

tools/install_missing.sh cmake g++ make libgtest-dev libgmock-dev libbenchmark-dev clang-format libboost-dev \
    libcli11-dev nlohmann-json3-dev qt6-base-dev qt6-charts-dev qt6-svg-dev xvfb xauth fonts-liberation \
    poppler-utils clang libclang-rt-14-dev desktop-file-utils appstream

jobs=$(nproc)

echo "== style =="
files=$(git ls-files '*.cpp' '*.h' 2>/dev/null || find . -name '*.cpp' -o -name '*.h' -not -path './build/*')
clang-format --dry-run --Werror $files

for preset in dev release asan; do
    echo "== build: $preset =="
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
    # The release build is built, not tested: -O3 with warnings as errors finds its own faults,
    # and the benchmarks are built from it.
    if [ "$preset" != release ]; then
        echo "== tests: $preset =="
        ctest --preset "$preset" -j "$jobs"
    fi
done

# Each harness briefly on its seed corpus, so that every change keeps them building and the
# readers keeping their rules; fuzz/run.sh with more seconds runs them longer.
echo "== fuzz =="
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"
fuzz/run.sh build/fuzz 30
