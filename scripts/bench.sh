#!/usr/bin/env bash
# Builds the benchmarks (Release, build-bench) and runs them: the text
# pipeline micro benchmarks, the timing program on the real main window
# (offscreen, then on a virtual display) and, with --peers, the comparison
# with the peer editors.
#   scripts/bench.sh [--quick] [--peers] [--csv]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/prerequisites.sh

quick=()
csv=()
peers=0
while [ $# -gt 0 ]; do
    case "$1" in
        --quick) quick=(--quick) ;;
        --peers) peers=1 ;;
        --csv) csv=(--csv) ;;
        *) echo "usage: scripts/bench.sh [--quick] [--peers] [--csv]" >&2; exit 2 ;;
    esac
    shift
done

# The mixed-script documents are measured with real fonts for every script
# they hold, so that font fallback and colour emoji are part of the figures.
ensure_packages "${BUILD_PACKAGES[@]}" libbenchmark-dev xvfb xauth fonts-noto-core fonts-noto-cjk \
    fonts-noto-color-emoji
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRENWICK_BENCH=ON -DBRENWICK_TESTS=OFF >/dev/null
cmake --build build-bench -j "$BUILD_JOBS" --target bench_textpipeline brenwick-timing brenwick-editor

echo "== Text pipeline (Google Benchmark) =="
build-bench/bench/bench_textpipeline

echo
echo "== Main window, offscreen =="
QT_QPA_PLATFORM=offscreen build-bench/brenwick-timing "${quick[@]}" "${csv[@]}"

echo
echo "== Main window, virtual display (Xvfb) =="
env -u QT_QPA_PLATFORM xvfb-run -a -s "-screen 0 1280x1024x24" \
    build-bench/brenwick-timing "${quick[@]}" "${csv[@]}"

if [ "$peers" -eq 1 ]; then
    echo
    echo "== Peer editors, virtual display (Xvfb) =="
    bench/peers/compare.sh --install "${quick[@]}"
fi
