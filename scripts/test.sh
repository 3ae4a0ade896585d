#!/usr/bin/env bash
# Builds everything and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/prerequisites.sh
ensure_packages "${BUILD_PACKAGES[@]}" libbenchmark-dev util-linux e2fsprogs

cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBRENWICK_TESTS=ON -DBRENWICK_BENCH=ON >/dev/null
cmake --build build-test -j2
QT_QPA_PLATFORM=offscreen ctest --test-dir build-test --output-on-failure -j2
