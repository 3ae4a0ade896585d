#!/usr/bin/env bash
# Builds the editor and starts it on the desktop; any arguments become its
# command line.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    # An editor on a virtual display nobody sees would only look like a hang.
    echo "The editor needs a desktop session (DISPLAY or WAYLAND_DISPLAY); to try it headless: xvfb-run -a $0 (package xvfb)" >&2
    exit 1
fi
source scripts/prerequisites.sh
ensure_packages "${BUILD_PACKAGES[@]}"

cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRENWICK_TESTS=OFF >/dev/null
cmake --build build-release -j "$BUILD_JOBS"
exec build-release/brenwick-editor "$@"
