#!/usr/bin/env bash
# Every test: checks the format, builds under AddressSanitizer +
# UndefinedBehaviorSanitizer and runs the whole suite (unit, end-to-end, GUI
# under xvfb-run, bounded fuzz runs), then the Windows build's tests under Wine
# (scripts/test_windows.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/bootstrap.sh
scripts/format.sh --check
cmake --preset asan >/dev/null
cmake --build --preset asan
ctest --preset asan "$@"
# The Windows build under Wine, when no tests were picked by name.
if [ $# -eq 0 ]; then
    scripts/test_windows.sh
fi
