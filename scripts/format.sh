#!/usr/bin/env bash
# Checks that every C++ file of the repository is formatted as .clang-format
# says; exits 1 and names the files that are not.
#
#   scripts/format.sh          check
#   scripts/format.sh --fix    reformat them in place
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/prerequisites.sh
ensure_packages clang-format

mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
    clang-format -i "${files[@]}"
    exit 0
fi
# One run over all files; it names each file that differs in its warnings.
mapfile -t unformatted < <(clang-format --dry-run -Werror "${files[@]}" 2>&1 \
    | sed -n -E 's/^([^:]+):[0-9]+:[0-9]+: error: code should be clang-formatted.*/\1/p' | sort -u)
if [ ${#unformatted[@]} -gt 0 ]; then
    echo "Not formatted as .clang-format says (scripts/format.sh --fix mends them):"
    printf '  %s\n' "${unformatted[@]}"
    exit 1
fi
echo "All ${#files[@]} C++ files are formatted."
