#!/usr/bin/env bash
# Drives the real Karvel_Prefs.exe under Wine and xvfb-run, by keystrokes as
# the Linux GUI test does: the dialog opens over preset registry values,
# check boxes and both paths are changed and saved (Enter in a path field),
# and the registry is read back with "wine reg query"; Escape writes nothing;
# the About box opens from the system menu; "Create LScript" writes Karvel.ls
# into the plug-in folder; Save without a change leaves the registry as it
# was, and the boxes of an absent flip_poly and a vzdy_update of 2 show what
# the import does. Screenshots of the dialogs are kept for review.
#   prefs_gui_test.sh WINEPREFIX PROGRAM.exe ARTEFACT_DIR
set -euo pipefail
prefix=$1 program=$2 artefacts=$3
here=$(cd "$(dirname "$0")" && pwd)

for tool in wine xvfb-run xdotool xauth; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed (scripts/bootstrap.sh installs it)"
        exit 77
    fi
done

if [ "${PREFS_GUI_INNER:-}" != 1 ]; then
    rm -rf "$artefacts"
    mkdir -p "$artefacts"
    # Whatever Wine session of this prefix still runs was started without a
    # display (the console tests); this test's programs must start a new one.
    WINEPREFIX=$prefix wineserver -w 2>/dev/null || true
    status=0
    PREFS_GUI_INNER=1 xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$0" "$@" || status=$?
    # Nor may the next test meet a session bound to a display that is gone.
    WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
    exit $status
fi

export QR_WINE_DISPLAY=1
wine_run() { "$here/wine_run.sh" "$prefix" "$@"; }
# Wine shows the Linux root as drive Z:.
winpath() { local p=$1; echo "Z:${p//\//\\}"; }

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

work=$artefacts/work
mkdir -p "$work/host/PlugIns"
key='HKCU\Software\Orvane\Quarrion\Karvel'

# The prefix exists (or the test skips here, with the reason).
wine_run reg delete "$key" /f >/dev/null 2>&1 || status=$?
if [ "${status:-0}" = 77 ]; then
    wine_run reg query 'HKCU' >/dev/null
    exit 77
fi
# No window manager runs: Wine draws the caption and the system menu itself.
wine_run reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null
wine_run reg add 'HKCU\Software\Orvane\Quarrion\Paths' /v ApplicationPath \
    /d "$(winpath "$work/host")" /f >/dev/null

set_value() { # NAME TYPE DATA
    wine_run reg add "$key" /v "$1" /t "$2" /d "$3" /f >/dev/null
}
set_value def_lwo REG_SZ 'C:\Objects\crate.lwo'
set_value use_def_lwo REG_DWORD 1
set_value vzdy_update REG_DWORD 0
set_value view_info REG_DWORD 0
set_value flip_poly REG_DWORD 1
set_value export_def_dxf REG_SZ 'D:\Out\scene.dxf'
set_value export_rename REG_DWORD 0
set_value export_flip_poly REG_DWORD 2
set_value export_use_def_dxf REG_DWORD 1
set_value export_view_info REG_DWORD 1

settings() { # the ten values as "name TYPE data" lines, in name order
    wine_run reg query "$key" | tr -d '\r' | awk 'NF >= 3 && $2 ~ /^REG_/ { print }' |
        sed 's/^ *//; s/    /|/g' | sort
}

shot() { # WINDOW NAME
    import -window "$1" "$artefacts/$2.png" 2>/dev/null || echo "note: screenshot $2 failed"
}

wait_window() { # title pattern -> prints the window id once it shows
    local id
    for _ in $(seq 1 100); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 || true)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# Starts the program and waits for its dialog; sets pid and win.
start() {
    wine_run "$program" >"$artefacts/$1.out" 2>&1 &
    pid=$!
    win=$(wait_window '^Brask Plugins Prefs$') || fail "no window titled 'Brask Plugins Prefs'"
    sleep 0.5
    xdotool windowfocus --sync "$win"
    sleep 0.3
}

# Waits for the program to end; fails when it does not.
finish() {
    for _ in $(seq 1 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill "$pid"
        fail "the program did not end: $1"
    fi
    wait "$pid" || fail "the program failed: $(cat "$artefacts/$2.out")"
}

preset=$(settings)
[ "$(echo "$preset" | wc -l)" = 10 ] || fail "the preset values did not reach the registry: $preset"

# 1. Escape after opening the About box from the system menu: nothing written.
start escape
shot "$win" dialog
xdotool key alt+space
sleep 0.5
# Our entry is the menu's last one (Wine adds an "About Wine" entry before it).
eval "$(xdotool getwindowgeometry --shell "$win")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" "$artefacts/system-menu.png" 2>/dev/null ||
    echo "note: screenshot system-menu failed"
xdotool key Up Return
about=$(wait_window '^About Brask Import$') || fail "no 'About Brask Import' box from the system menu"
sleep 0.5
shot "$about" about
xdotool windowfocus --sync "$about"
xdotool key Return
sleep 0.5
xdotool windowfocus --sync "$win"
xdotool key Escape
finish "Escape" escape
[ "$(settings)" = "$preset" ] || fail "Escape changed the registry:
$(settings)"

# 2. Save. Tab order from Save: Cancel, the object path (its text selected on
#    entry), 1001, 1002, 1003, About, Create LScript, 1006, 1007, 1008, the
#    DXF path, 1010, 1011. Four boxes are toggled (so each must have shown
#    its stored state), four are left alone (written back as read, even 2),
#    both paths are replaced, and Enter in the DXF path saves.
start save
xdotool key Tab Tab
xdotool type --delay 30 'C:\New\obj.lwo'
xdotool key Tab space Tab space Tab Tab Tab Tab space Tab Tab Tab
xdotool type --delay 30 'E:\dxf\out.dxf'
xdotool key Tab Tab space shift+Tab shift+Tab Return
finish "Enter in the DXF path" save
expected="def_lwo|REG_SZ|C:\\New\\obj.lwo
export_def_dxf|REG_SZ|E:\\dxf\\out.dxf
export_flip_poly|REG_DWORD|0x2
export_rename|REG_DWORD|0x0
export_use_def_dxf|REG_DWORD|0x1
export_view_info|REG_DWORD|0x0
flip_poly|REG_DWORD|0x0
use_def_lwo|REG_DWORD|0x0
view_info|REG_DWORD|0x0
vzdy_update|REG_DWORD|0x1"
actual=$(settings)
[ "$actual" = "$expected" ] || fail "registry after Save:
$actual
expected:
$expected"

# 3. "Create LScript", the seventh tab stop after Save: Karvel.ls in the
#    plug-in folder for the saved path, a confirmation, the dialog stays
#    open, and the registry is not touched.
start lscript
xdotool key Tab Tab Tab Tab Tab Tab Tab space
box=$(wait_window '^LS Create$') || fail "no 'LS Create' message box"
sleep 0.5
shot "$box" lscript-message
xdotool windowfocus --sync "$box"
xdotool key Return
sleep 0.5
kill -0 "$pid" 2>/dev/null || fail "the dialog closed after Create LScript"
script=$work/host/PlugIns/Karvel.ls
expected_ls=$'main\r\n{\r\n  save("C:/New/obj.lwo");\r\n  info("OK - object was saved as C:/New/obj.lwo");\r\n}'
[ -f "$script" ] || fail "Karvel.ls was not written"
[ "$(cat "$script"; printf x)" = "${expected_ls}x" ] || fail "Karvel.ls holds: $(od -c "$script")"
xdotool windowfocus --sync "$win"
xdotool key Escape
finish "Escape after Create LScript" lscript
[ "$(settings)" = "$actual" ] || fail "Create LScript changed the registry"

# 4. Save without a change: an absent flip_poly and a vzdy_update of 2
#    ("always add as new") stay as they are, nothing else appears.
wine_run reg delete "$key" /f >/dev/null
set_value vzdy_update REG_DWORD 2
sparse=$(settings)
start unchanged
xdotool key Return
finish "Save without a change" unchanged
[ "$(settings)" = "$sparse" ] || fail "Save without a change changed the registry:
$(settings)"

# 5. The boxes showed what the import does: 1002 (four tabs from Save) was
#    clear for 2 and a click ticks it; 1006 (eight tabs) was ticked for the
#    absent key, the import's default, and a click clears it. Enter saves.
start clicked
xdotool key Tab Tab Tab Tab space Tab Tab Tab Tab space Return
finish "Enter after two clicks" clicked
expected="flip_poly|REG_DWORD|0x0
vzdy_update|REG_DWORD|0x1"
[ "$(settings)" = "$expected" ] || fail "registry after two clicks:
$(settings)
expected:
$expected"

echo "PASS: preset values shown and saved, Escape, the About box, Create LScript, Save without a change; screenshots in $artefacts"
