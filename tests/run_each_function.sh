#!/usr/bin/env bash
# Runs every test function of a Qt Test program once on its own, each in a
# fresh process, so that a test which passes only after another one has run
# fails here. Usage: run_each_function.sh <test program>
set -u
program="$1"
functions=$("$program" -functions) || exit 1
log=$(mktemp)
failed=0
for function in $functions; do
    function="${function%()}"
    if ! "$program" "$function" >"$log" 2>&1; then
        echo "== $function fails when run alone:"
        cat "$log"
        failed=1
    fi
done
rm -f "$log"
exit "$failed"
