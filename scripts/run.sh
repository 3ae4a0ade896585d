#!/usr/bin/env bash
# Builds the editor and starts it; any arguments become its command line.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/prerequisites.sh
ensure_packages "${BUILD_PACKAGES[@]}"

cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRENWICK_TESTS=OFF >/dev/null
cmake --build build-release -j2

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    # No desktop session: start a virtual display for it.
    ensure_packages xvfb xauth
    exec xvfb-run -a -s "-screen 0 1280x1024x24" build-release/brenwick-editor "$@"
fi
exec build-release/brenwick-editor "$@"
