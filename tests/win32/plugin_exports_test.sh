#!/usr/bin/env bash
# Each plug-in DLL exports exactly ExecutePlugin, undecorated, and needs no
# DLL beside the system's (C++ runtime and libgcc linked in); so does qrhost.exe.
#   plugin_exports_test.sh OBJDUMP PLUGIN.dll... QRHOST.exe
set -euo pipefail
objdump=$1
shift
system_dlls='^(kernel32|user32|advapi32|comdlg32|gdi32|comctl32|shell32|msvcrt|version)\.dll$'
failed=0
for file in "$@"; do
    dump=$("$objdump" -p "$file")
    imports=$(sed -n 's/^\tDLL Name: //p' <<<"$dump")
    while read -r dll; do
        if ! grep -qiE "$system_dlls" <<<"$dll"; then
            echo "FAIL: $(basename "$file") needs $dll, which is no system DLL"
            failed=1
        fi
    done <<<"$imports"
    case $file in
    *.dll)
        # The names after "[Ordinal/Name Pointer] Table", up to the blank line.
        names=$(awk '/\[Ordinal\/Name Pointer\] Table/ {on=1; next} on && NF==0 {exit} on {print $NF}' <<<"$dump")
        if [ "$names" != "ExecutePlugin" ]; then
            echo "FAIL: $(basename "$file") exports [$(tr '\n' ' ' <<<"$names")], not exactly ExecutePlugin"
            failed=1
        else
            echo "ok: $(basename "$file") exports ExecutePlugin only; imports $(tr '\n' ' ' <<<"$imports")"
        fi
        ;;
    esac
done
exit $failed
