#!/usr/bin/env bash
# Runs a Windows program of the build under Wine, in the build's own Wine
# prefix (so the tests' registry never touches the user's), or skips the test
# (exit 77) with the reason when Wine is missing or cannot start.
#   wine_run.sh PREFIX PROGRAM.exe [ARGS...]
set -uo pipefail
prefix=$1
shift
if ! command -v wine >/dev/null 2>&1; then
    echo "SKIP: wine is not installed (scripts/bootstrap.sh installs wine, wine32 and wine64)"
    exit 77
fi
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
# No display needed for console programs; Wine must not try one it cannot open.
[ -n "${QR_WINE_DISPLAY:-}" ] || unset DISPLAY
# The prefix is made once (the win.wine_prefix test does it first); wineserver
# writes the registry files when it exits, so that is waited for.
if [ ! -f "$prefix/.qr-ready" ]; then
    mkdir -p "$prefix"
    if ! wine cmd /c exit 0 >/dev/null 2>&1 || ! wineserver -w || [ ! -f "$prefix/system.reg" ]; then
        echo "SKIP: Wine cannot start (could not make the prefix $prefix)"
        exit 77
    fi
    touch "$prefix/.qr-ready"
fi
exec wine "$@"
