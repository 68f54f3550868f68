#!/usr/bin/env bash
# Sets up what is missing, builds the release build of the calculator and opens it.
set -euo pipefail
cd "$(dirname "$0")"

tools/install_missing.sh cmake g++ make libgtest-dev libgmock-dev libbenchmark-dev libboost-dev qt6-base-dev qt6-charts-dev qt6-svg-dev \
    libcli11-dev nlohmann-json3-dev fonts-liberation

cmake --preset release >/dev/null
# quarvell-batch too, so that the build installs whole (cmake --install).
cmake --build --preset release --target quarvell quarvell-batch -j "$(nproc)"
program=build/release/app/quarvell

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    cat >&2 <<MESSAGE

Quarvell is built ($program), but there is no display to open its window on:
neither DISPLAY nor WAYLAND_DISPLAY is set. Run this on a desktop session, or give it a
virtual X display:

    xvfb-run -s '-screen 0 1024x768x24' ./run.sh

or start one yourself:

    Xvfb :99 -screen 0 1024x768x24 &
    DISPLAY=:99 ./run.sh

(xvfb-run and Xvfb come with Debian's package xvfb: apt-get install xvfb)
MESSAGE
    exit 1
fi

exec "$program" "$@"
