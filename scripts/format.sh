#!/usr/bin/env bash
# Formats every C++ file of the project with its .clang-format, or with --check
# lists the files that are off-format and fails (the test command runs that).
set -euo pipefail
cd "$(dirname "$0")/.."
formatter=${CLANG_FORMAT:-clang-format}
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files -- '*.cpp' '*.h')
else
    mapfile -t files < <(find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
fi
if [ "${1:-}" = "--check" ]; then
    if ! "$formatter" --dry-run --Werror "${files[@]}" 2>/tmp/format-check.$$; then
        echo "format: these files are not formatted (run scripts/format.sh):" >&2
        grep -E '^[^ ].*:[0-9]+:[0-9]+: (error|warning):' /tmp/format-check.$$ | cut -d: -f1 |
            sort -u | sed 's/^/  /' >&2
        rm -f /tmp/format-check.$$
        exit 1
    fi
    rm -f /tmp/format-check.$$
    echo "format: ${#files[@]} files formatted"
else
    "$formatter" -i "${files[@]}"
fi
