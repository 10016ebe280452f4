#!/usr/bin/env bash
# The Windows deliverables: builds the win32 preset (32-bit, MinGW-w64) and
# runs its tests under Wine. Skips with a message when the cross-compiler is
# missing; each test skips with a message when Wine is missing or cannot start.
# scripts/test.sh runs this after the Linux suite; arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v i686-w64-mingw32-g++-posix >/dev/null 2>&1; then
    echo "test_windows: SKIP: no MinGW-w64 compiler (scripts/bootstrap.sh installs mingw-w64)"
    exit 0
fi
if ! command -v wine >/dev/null 2>&1; then
    echo "test_windows: wine is missing: the Windows programs are built, their tests skipped"
fi
cmake --preset win32 >/dev/null
cmake --build --preset win32
ctest --preset win32 "$@"
