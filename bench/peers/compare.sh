#!/usr/bin/env bash
# Peer comparison: opens the timing program's generated files in FeatherPad
# and Mousepad (where installed) on a private Xvfb display and prints their
# open time, peak memory and approximate keystroke time beside ours, with
# ratios, all measured in this one run.
#   bench/peers/compare.sh [--install] [--quick] [--build DIR]
#     --install  installs the peers and the X tools with apt-get first
#     --quick    leaves out the 100 MB file
#     --build    build folder holding brenwick-timing and brenwick-editor
#                (default: build-bench)
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$root/build-bench"
install=0
extra=()
while [ $# -gt 0 ]; do
    case "$1" in
        --install) install=1 ;;
        --quick) extra+=(--quick) ;;
        --build) build="$(cd "$2" && pwd)"; shift ;;
        *) echo "unknown option: $1" >&2; exit 2 ;;
    esac
    shift
done

if [ "$install" -eq 1 ]; then
    source "$root/scripts/prerequisites.sh"
    ensure_packages featherpad mousepad xvfb xdotool x11-utils python3
fi
for program in brenwick-timing brenwick-editor; do
    if [ ! -x "$build/$program" ]; then
        echo "$build/$program is missing: build with scripts/bench.sh first" >&2
        exit 1
    fi
done
exec python3 "$root/bench/peers/compare.py" --build "$build" "${extra[@]}"
