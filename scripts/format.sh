#!/usr/bin/env bash
# Checks that every tracked C++ file is formatted as .clang-format says, in
# one run of clang-format; exits non-zero and names the files otherwise.
#   scripts/format.sh          check
#   scripts/format.sh --fix    format them in place
set -euo pipefail
cd "$(dirname "$0")/.."

fix=0
case "${1:-}" in
    "") ;;
    --fix) fix=1 ;;
    *) echo "usage: scripts/format.sh [--fix]" >&2; exit 2 ;;
esac

if ! command -v clang-format >/dev/null; then
    source scripts/prerequisites.sh
    ensure_packages clang-format
fi

mapfile -d '' files < <(git ls-files -z -- '*.cpp' '*.h')
if [ ${#files[@]} -eq 0 ]; then
    exit 0
fi
if [ "$fix" -eq 1 ]; then
    clang-format -i "${files[@]}"
    exit 0
fi
report="$(mktemp)"
trap 'rm -f "$report"' EXIT
if ! clang-format --dry-run --Werror "${files[@]}" 2>"$report"; then
    grep -o '^[^:]*\.\(cpp\|h\):' "$report" | sort -u | sed 's/:$/: not formatted/' >&2
    echo "scripts/format.sh --fix formats them" >&2
    exit 1
fi
