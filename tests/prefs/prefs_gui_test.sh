#!/usr/bin/env bash
# Drives the real Karvel_Prefs under xvfb-run: Save through Enter in the path
# field and through the Save button (without a change, and after clicking the
# boxes of an absent flip_poly and a stored vzdy_update of 2), Cancel through
# Escape, "Create LScript" through the keyboard, and keeps screenshots of the
# dialogs in the artefact folder.
#   prefs_gui_test.sh PROGRAM ARTEFACT_DIR
set -euo pipefail

program=$1
artefacts=$2

for tool in xvfb-run xdotool xauth; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed (scripts/bootstrap.sh installs it)"
    exit 77
  fi
done

if [ "${PREFS_GUI_INNER:-}" != 1 ]; then
  rm -rf "$artefacts"
  mkdir -p "$artefacts"
  PREFS_GUI_INNER=1 exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$0" "$@"
fi

# GTK and its font libraries keep caches until exit; those are not our leaks.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
export NO_AT_BRIDGE=1

work=$artefacts/work
mkdir -p "$work/host/PlugIns"
export QUARRION_PROFILE=$work/Quarrion.ini

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

shot() {
  if command -v import >/dev/null; then
    import -window root "$artefacts/$1.png" || echo "note: screenshot $1 failed"
  fi
}

# Starts the program and waits for its dialog; sets pid and win.
start() {
  "$program" >"$artefacts/$1.out" 2>&1 &
  pid=$!
  win=""
  for _ in $(seq 1 100); do
    win=$(xdotool search --onlyvisible --name '^Brask Plugins Prefs$' 2>/dev/null | head -n1 || true)
    [ -n "$win" ] && break
    kill -0 "$pid" 2>/dev/null || fail "the program ended before showing its dialog: $(cat "$artefacts/$1.out")"
    sleep 0.1
  done
  [ -n "$win" ] || fail "no window titled 'Brask Plugins Prefs'"
  # No window manager runs, so give the dialog the keyboard ourselves.
  sleep 0.5
  xdotool windowfocus --sync "$win"
  sleep 0.3
}

# Waits for the program to end; fails when it does not.
finish() {
  for _ in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    kill "$pid"
    fail "the program did not end: $1"
  fi
  wait "$pid" || fail "the program failed: $(cat "$artefacts/$2.out")"
}

wait_window() {  # title pattern -> prints the window id once it shows
  local id
  for _ in $(seq 1 50); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 || true)
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  return 1
}

value() {  # key -> the value of that key in [Karvel], or <missing>
  awk -F= -v key="$1" '
    /^\[/ { section = $0; next }
    section == "[Karvel]" && $1 == key { sub(/^[^=]*=/, ""); print; found = 1 }
    END { if (!found) print "<missing>" }' "$QUARRION_PROFILE"
}

# A flag of 2 and a path that is not UTF-8 (Latin-1 bytes), both stored by
# other means, must come back from a Save exactly as they were.
printf '[Paths]\nApplicationPath=%s\n[Karvel]\nexport_flip_poly=2\nexport_def_dxf=/d\351p\364t.dxf\n' \
  "$work/host" >"$QUARRION_PROFILE"

# 1. Escape: nothing is written.
start cancel
before=$(md5sum <"$QUARRION_PROFILE")
shot dialog
# The About box: the seventh tab stop is the "About" button.
xdotool key Tab Tab Tab Tab Tab Tab space
about=$(wait_window '^About Brask Import$') || fail "no 'About Brask Import' box"
sleep 0.5
shot about
xdotool windowfocus --sync "$about"
xdotool key Return
sleep 0.3
xdotool windowfocus --sync "$win"
xdotool key Escape
finish "Escape" cancel
[ "$(md5sum <"$QUARRION_PROFILE")" = "$before" ] || fail "Escape changed the profile"

# 2. Type a path into the first field (two tabs from "Save"), press Enter: the
#    path is written, nothing else is.
start save
xdotool key Tab Tab
xdotool type --delay 20 'C:\Objects\crate.lwo'
xdotool key Return
finish "Enter in the path field" save
expected="def_lwo=C:\\Objects\\crate.lwo
use_def_lwo=<missing>
vzdy_update=<missing>
view_info=<missing>
flip_poly=<missing>
export_def_dxf=$(printf '/d\351p\364t.dxf')
export_rename=<missing>
export_flip_poly=2
export_use_def_dxf=<missing>
export_view_info=<missing>"
actual=""
for key in def_lwo use_def_lwo vzdy_update view_info flip_poly \
           export_def_dxf export_rename export_flip_poly export_use_def_dxf export_view_info; do
  actual+="$key=$(value "$key")"$'\n'
done
[ "${actual%$'\n'}" = "$expected" ] || fail "profile after Save:
$actual
expected:
$expected"

# 3. "Create LScript": Save, Cancel, path, three check boxes, About, then
#    Create LScript is the eighth tab stop. The path was read from the profile.
start lscript
before=$(md5sum <"$QUARRION_PROFILE")
xdotool key Tab Tab Tab Tab Tab Tab Tab
xdotool key space
box=$(wait_window '^LS Create$') || fail "no 'LS Create' message box"
sleep 0.5
shot lscript-message
xdotool windowfocus --sync "$box"
xdotool key Return
sleep 0.5
kill -0 "$pid" 2>/dev/null || fail "the dialog closed after Create LScript"
expected_ls=$'main\r\n{\r\n  save("C:/Objects/crate.lwo");\r\n  info("OK - object was saved as C:/Objects/crate.lwo");\r\n}'
[ -f "$work/host/PlugIns/Karvel.ls" ] || fail "Karvel.ls was not written"
[ "$(cat "$work/host/PlugIns/Karvel.ls"; printf x)" = "${expected_ls}x" ] ||
  fail "Karvel.ls holds: $(od -c "$work/host/PlugIns/Karvel.ls")"
xdotool windowfocus --sync "$win"
xdotool key Escape
finish "Escape after Create LScript" lscript
[ "$(md5sum <"$QUARRION_PROFILE")" = "$before" ] || fail "Create LScript changed the profile"

# 4. "Create LScript" with no plug-in folder, and then with a double quote in
#    the path: each time an error box, no file, and the dialog stays usable.
printf '[Paths]\nApplicationPath=%s\n[Karvel]\ndef_lwo=/x.lwo\n' "$work/nohost" >"$QUARRION_PROFILE"
start failure
before=$(md5sum <"$QUARRION_PROFILE")
xdotool key Tab Tab Tab Tab Tab Tab Tab space
box=$(wait_window '^Karvel_Prefs$') || fail "no error box for a missing plug-in folder"
sleep 0.5
shot lscript-error
xdotool windowfocus --sync "$box"
xdotool key Return
sleep 0.5
kill -0 "$pid" 2>/dev/null || fail "the dialog closed after a failed Create LScript"
[ ! -e "$work/nohost" ] || fail "something was created for the missing plug-in folder"
xdotool windowfocus --sync "$win"
xdotool key Escape
finish "Escape after the failure" failure
[ "$(md5sum <"$QUARRION_PROFILE")" = "$before" ] || fail "a failed Create LScript changed the profile"

rm -f "$work/host/PlugIns/Karvel.ls"
printf '[Paths]\nApplicationPath=%s\n[Karvel]\ndef_lwo=/a");x("b.lwo\n' "$work/host" >"$QUARRION_PROFILE"
start refusal
xdotool key Tab Tab Tab Tab Tab Tab Tab space
box=$(wait_window '^Karvel_Prefs$') || fail "no error box for a double quote"
sleep 0.3
xdotool windowfocus --sync "$box"
xdotool key Return
sleep 0.5
kill -0 "$pid" 2>/dev/null || fail "the dialog closed after a refused Create LScript"
[ -z "$(ls -A "$work/host/PlugIns")" ] || fail "a refused Create LScript left files: $(ls -A "$work/host/PlugIns")"
xdotool windowfocus --sync "$win"
xdotool key Escape
finish "Escape after the refusal" refusal

# 5. Texts are kept exactly as typed: a path with outer blanks (stored between
#    quotes) comes back from a Save with the blank typed after it, still
#    quoted; an unquoted value with blanks around it that the user did not
#    edit is left as stored.
printf '[Paths]\nApplicationPath=%s\n[Karvel]\ndef_lwo=" /x y.lwo "\nexport_def_dxf=\t/tab.dxf \n' \
  "$work/host" >"$QUARRION_PROFILE"
start blanks
xdotool key Tab Tab End
xdotool type --delay 20 ' '
xdotool key Return
finish "Enter after typing a blank" blanks
[ "$(value def_lwo)" = '" /x y.lwo  "' ] || fail "def_lwo after Save: [$(value def_lwo)]"
[ "$(value export_def_dxf)" = $'\t/tab.dxf ' ] || fail "export_def_dxf after Save: [$(value export_def_dxf)]"

# 6. Save without a change leaves the profile byte for byte: an absent
#    flip_poly and a vzdy_update of 2 ("always add as new") stay as they are.
printf '[Paths]\nApplicationPath=%s\n[Karvel]\nvzdy_update=2\nview_info = 1\n' "$work/host" >"$QUARRION_PROFILE"
before=$(md5sum <"$QUARRION_PROFILE")
start unchanged
xdotool key space
finish "Save without a change" unchanged
[ "$(md5sum <"$QUARRION_PROFILE")" = "$before" ] || fail "Save without a change changed the profile:
$(cat "$QUARRION_PROFILE")"

# 7. The boxes showed what the import does: the vzdy_update box (four tabs
#    from Save) was clear for 2 and a click ticks it; the flip_poly box (eight
#    tabs) was ticked for the absent key, the import's default, and a click
#    clears it. Back to Save and press it.
start clicked
xdotool key Tab Tab Tab Tab space Tab Tab Tab Tab space
xdotool key shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab space
finish "Save after two clicks" clicked
[ "$(value vzdy_update)" = 1 ] || fail "vzdy_update after Save: [$(value vzdy_update)]"
[ "$(value flip_poly)" = 0 ] || fail "flip_poly after Save: [$(value flip_poly)]"
[ "$(value use_def_lwo)" = '<missing>' ] || fail "use_def_lwo after Save: [$(value use_def_lwo)]"

echo "PASS: Save, Save without a change, Escape, Create LScript and exact texts; screenshots in $artefacts"
