#!/usr/bin/env bash
# The bundled examples imported into one scene and exported, once through the
# Linux qrhost and modules and once through qrhost.exe and the DLLs under Wine,
# with the same answers: the exchange file, the DXF file and the message boxes
# must come out byte for byte the same.
#   end_to_end_test.sh WINEPREFIX WINDOWS_BIN LINUX_BIN EXAMPLES WORK
set -euo pipefail
prefix=$1 winbin=$2 linuxbin=$3 examples=$4 work=$5
here=$(cd "$(dirname "$0")" && pwd)
if [ ! -x "$linuxbin/qrhost" ]; then
    echo "SKIP: no Linux build to compare with at $linuxbin (build the asan preset first," \
         "or configure with -DQR_LINUX_BIN=DIR)"
    exit 77
fi
wine_run() { "$here/wine_run.sh" "$prefix" "$@"; }
# Wine shows the Linux root as drive Z:.
winpath() { local p=$1; echo "Z:${p//\//\\}"; }

rm -rf "$work"
mkdir -p "$work/linux" "$work/windows"
# The plug-ins' own defaults on both sides: no settings stored.
: >"$work/linux/profile.ini"
wine_run reg delete 'HKCU\Software\Orvane\Quarrion\Karvel' /f >/dev/null 2>&1 || status=$?
if [ "${status:-0}" = 77 ]; then
    wine_run reg query 'HKCU' >/dev/null # says why it skips
    exit 77
fi

# The steps: NAME|ARGUMENTS (the example paths filled in per side).
steps=(
    "Karvel --open {crate.lwo}"
    "Karvel --open {lamp.lwo}"
    "Karvel --open {site.dxf}"
    "Karvel --open {crate.lwo} --answer yes --answer no"
    "Brask_Export --save {OUT}"
)

run_side() {
    local side=$1
    local host=$work/$side/host
    if [ "$side" = linux ]; then
        "$linuxbin/qrhost" new "$host" >/dev/null
    else
        wine_run "$winbin/qrhost.exe" new "$(winpath "$host")" >/dev/null
    fi
    : >"$work/$side/transcript.txt"
    for step in "${steps[@]}"; do
        local args=()
        for word in $step; do
            case $word in
            "{OUT}") word=$work/$side/scene.dxf ;;
            "{"*"}") word=${word#\{}; word=$examples/${word%\}} ;;
            esac
            [ "$side" = windows ] && [[ $word == /* ]] && word=$(winpath "$word")
            args+=("$word")
        done
        if [ "$side" = linux ]; then
            "$linuxbin/qrhost" run "${args[0]}" --folder "$host" --profile "$work/linux/profile.ini" \
                "${args[@]:1}" >>"$work/$side/transcript.txt" 2>>"$work/$side/stderr.txt"
        else
            wine_run "$winbin/qrhost.exe" run "${args[0]}" --folder "$(winpath "$host")" \
                "${args[@]:1}" >>"$work/$side/transcript.txt" 2>>"$work/$side/stderr.txt"
        fi
    done
    # The Windows console ends lines with CR LF; the texts are what is compared.
    tr -d '\r' <"$work/$side/transcript.txt" >"$work/$side/transcript.lf"
    tr -d '\r' <"$work/$side/stderr.txt" >"$work/$side/stderr.lf"
}

run_side linux
run_side windows

failed=0
compare() {
    if cmp "$work/linux/$1" "$work/windows/$1"; then
        echo "same: $1 ($(wc -c <"$work/linux/$1") bytes)"
    else
        echo "FAIL: $1 differs between the Linux and the Windows build"
        diff <(od -c "$work/linux/$1") <(od -c "$work/windows/$1") | head -20 || true
        failed=1
    fi
}
compare host/PlugIns/qrplugin.qrc
compare scene.dxf
compare transcript.lf
compare stderr.lf
# Not a comparison of two empty runs: the scene holds the examples' parts.
grep -q "OK - Export was successful" "$work/windows/transcript.lf" || {
    echo "FAIL: the export's summary is missing"
    failed=1
}
[ "$(grep -c '^ExecutePlugin returned 1$' "$work/windows/stderr.lf")" = 4 ] || {
    echo "FAIL: Karvel.dll did not return 1 four times"
    failed=1
}
exit $failed
