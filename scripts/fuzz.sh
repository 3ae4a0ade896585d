#!/usr/bin/env bash
# Builds the libFuzzer targets in build-fuzz and runs each one for the given
# number of seconds (30 by default) on a copy of its seed corpus. Prints one
# line per fuzzer and exits non-zero when any of them found a crash; the
# crashing inputs and logs are kept under build-fuzz/findings/.
#
#   scripts/fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/prerequisites.sh

seconds="${1:-30}"
if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: scripts/fuzz.sh [seconds]" >&2
    exit 2
fi

# clang brings llvm-symbolizer along, which makes the stacks readable.
ensure_packages "${BUILD_PACKAGES[@]}" clang
# Whether clang links a fuzzer: its libFuzzer runtime is installed.
links_fuzzer() {
    local probe
    probe="$(mktemp -d)"
    echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char *, unsigned long) { return 0; }' \
        >"$probe/probe.cpp"
    local status=0
    clang++ -fsanitize=fuzzer "$probe/probe.cpp" -o "$probe/probe" >/dev/null 2>&1 || status=$?
    rm -rf "$probe"
    return "$status"
}
if ! links_fuzzer; then
    # Debian ships the runtime of clang N in libclang-rt-N-dev.
    clang_major="$(clang++ -dumpversion | cut -d. -f1)"
    ensure_packages "libclang-rt-${clang_major}-dev"
    if ! links_fuzzer; then
        echo "clang ${clang_major} cannot link a fuzzer: install its libFuzzer runtime (libclang-rt-${clang_major}-dev)" >&2
        exit 1
    fi
fi

root="$(pwd)"
build=build-fuzz
# A folder configured when the fuzzers were a project of their own cannot
# be configured from the root; it is built afresh.
if grep -qs "^CMAKE_HOME_DIRECTORY:INTERNAL=$root/fuzz\$" "$build/CMakeCache.txt"; then
    rm -rf "$build"
fi
cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBRENWICK_FUZZ=ON >/dev/null
cmake --build "$build" -j "$BUILD_JOBS"

# Every save syncs to disk; a RAM-backed folder keeps that from setting the pace.
scratch_parent=/tmp
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    scratch_parent=/dev/shm
fi
work="$(mktemp -d -p "$scratch_parent" brenwick-fuzz.XXXXXX)"
trap 'rm -rf "$work"' EXIT

findings="$build/findings"
rm -rf "$findings"
# Runs one fuzzer on its own copy of the seeds; the exit status lands in
# the run's folder.
run_fuzzer() {
    local name="$1"
    local run="$work/$name"
    mkdir -p "$run/corpus" "$run/artifacts" "$run/tmp"
    # The fuzzer adds inputs to its corpus: it works on a copy, never on the
    # seeds in the repository.
    if [ -d "fuzz/corpus/$name" ]; then
        cp -R "fuzz/corpus/$name/." "$run/corpus/"
    fi
    local status=0
    ( cd "$run" && TMPDIR="$run/tmp" QT_QPA_PLATFORM=offscreen \
        timeout --signal=KILL $((seconds * 2 + 120)) \
        "$root/$build/$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$run/artifacts/" corpus \
        </dev/null >"$run/log.txt" 2>&1 ) || status=$?
    echo "$status" >"$run/status"
}

# As many fuzzers run at once as the machine has cores.
names=()
for source in fuzz/fuzz_*.cpp; do
    name="$(basename "$source" .cpp)"
    names+=("$name")
    while [ "$(jobs -rp | wc -l)" -ge "$BUILD_JOBS" ]; do
        wait -n || true
    done
    run_fuzzer "$name" &
done
wait

failed=0
for name in "${names[@]}"; do
    run="$work/$name"
    log="$run/log.txt"
    status="$(cat "$run/status" 2>/dev/null || echo 1)"
    executions="$(sed -n 's/^stat::number_of_executed_units: *\([0-9]*\).*/\1/p' "$log" | tail -n 1)"
    crashes="$(find "$run/artifacts" -type f | wc -l)"
    if [ "$status" -ne 0 ] && [ "$crashes" -eq 0 ]; then
        crashes=1 # killed or failed without saving an input
    fi
    echo "$name: ${executions:-0} executions, $crashes crashes"
    if [ "$crashes" -ne 0 ]; then
        failed=1
        mkdir -p "$findings/$name"
        cp "$log" "$findings/$name/"
        cp -R "$run/artifacts/." "$findings/$name/" 2>/dev/null || true
        echo "  input and log kept in $findings/$name; the end of the log:"
        tail -n 40 "$log" | sed 's/^/  | /'
    fi
done
exit "$failed"
