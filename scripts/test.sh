#!/usr/bin/env bash
# Builds everything and runs every test headless: the test suite in a debug
# build, each of its test functions once more on its own, the same suite
# again under AddressSanitizer and
# UndefinedBehaviorSanitizer, and each fuzzer for a short while. First it
# checks that every C++ file is formatted as .clang-format says.
#
#   scripts/test.sh            all three stages
#   FUZZ_SECONDS=0 scripts/test.sh   without the fuzzers
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/prerequisites.sh
# qt6-base-private-dev lets a test switch accessibility on as a screen reader
# does; xvfb runs the test of the X11 primary selection; desktop-file-utils
# and appstream check what is installed.
ensure_packages "${BUILD_PACKAGES[@]}" libbenchmark-dev util-linux e2fsprogs ccache qt6-base-private-dev xvfb xauth \
    desktop-file-utils appstream clang-format lld

launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
# Line tables are all a failing test's stack trace needs, and they compile
# and link faster than full debug information.
launcher+=(-DCMAKE_CXX_FLAGS_DEBUG=-g1)

passed=0
failed=0
# Runs ctest in a build folder, with further ctest options if given; its
# exit status is the verdict. The counts of its last line only feed the
# summary.
run_suite() {
    local build="$1"
    shift
    local log
    log=$(mktemp)
    local status=0
    QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" --output-on-failure --no-tests=error -j "$BUILD_JOBS" \
        --timeout 600 "$@" 2>&1 | tee "$log" || status=$?
    local line
    line=$(grep -E "tests passed, [0-9]+ tests? failed out of [0-9]+" "$log" | tail -n 1 || true)
    rm -f "$log"
    if [ -n "$line" ]; then
        local total bad
        total=$(echo "$line" | sed -E 's/.* out of ([0-9]+).*/\1/')
        bad=$(echo "$line" | sed -E 's/.*, ([0-9]+) tests? failed.*/\1/')
        passed=$((passed + total - bad))
        failed=$((failed + bad))
    fi
    if [ "$status" -ne 0 ]; then
        echo "ctest in $build ended with status $status"
    fi
    return "$status"
}

result=0
started=$SECONDS
# Each stage says when it begins, in seconds since the start.
stage() {
    echo "== $* (at $((SECONDS - started)) s)"
}

stage "Formatting"
if scripts/format.sh; then
    passed=$((passed + 1))
else
    failed=$((failed + 1))
    result=1
fi

stage "Tests (debug build)"
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBRENWICK_TESTS=ON -DBRENWICK_BENCH=ON \
    -DBRENWICK_EACH_FUNCTION=ON "${launcher[@]}" >/dev/null
cmake --build build-test -j "$BUILD_JOBS"
run_suite build-test -LE each-function || result=1

# A test that passes only after another one has run fails here.
stage "Every test function on its own (debug build)"
run_suite build-test -L each-function || result=1

stage "Tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBRENWICK_TESTS=ON -DBRENWICK_SANITIZE=ON \
    "${launcher[@]}" >/dev/null
cmake --build build-asan -j "$BUILD_JOBS"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$(pwd)/tests/lsan.supp:print_suppressions=0"
run_suite build-asan || result=1
unset ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS

fuzz_seconds="${FUZZ_SECONDS:-30}"
if [ "$fuzz_seconds" -gt 0 ]; then
    stage "Fuzzers, ${fuzz_seconds} s each"
    if scripts/fuzz.sh "$fuzz_seconds"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        result=1
    fi
fi

echo "Summary: ${passed} passed, ${failed} failed, in $((SECONDS - started)) s"
exit $result
