#!/usr/bin/env bash
# install_test.sh BUILD SOURCE: `cmake --install` into a temporary prefix,
# then the installed qrhost (finding its library and modules where they were
# installed, not in the build) converts and renders the bundled examples.
set -euo pipefail
build=$1 source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
prefix=$work/prefix
# The installed modules must not be found through the user's host folder.
export QUARRION_PROFILE=$work/profile.ini

cmake --install "$build" --prefix "$prefix" >"$work/install.log"
for file in bin/qrhost lib/libqrplatform.so lib/quarrion/PlugIns/Karvel.so \
    lib/quarrion/PlugIns/Brask_Export.so share/doc/karvel/README.md; do
  [ -f "$prefix/$file" ] || fail "cmake --install did not install $file"
done
if [ -f "$build/bin/Karvel_Prefs" ]; then
  for file in bin/Karvel_Prefs share/applications/karvel-prefs.desktop \
      share/icons/hicolor/48x48/apps/karvel-prefs.png; do
    [ -f "$prefix/$file" ] || fail "cmake --install did not install $file"
  done
  # Every icon is a PNG of the size its folder names (IHDR width and height).
  for icon in "$prefix"/share/icons/hicolor/*/apps/karvel-prefs.png; do
    size=$(basename "$(dirname "$(dirname "$icon")")")
    got=$(python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(24); assert d[:8]==b"\x89PNG\r\n\x1a\n"; print("%dx%d" % struct.unpack(">II", d[16:24]))' "$icon")
    [ "$got" = "$size" ] || fail "$icon is $got, not $size"
  done
  if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$prefix/share/applications/karvel-prefs.desktop" ||
      fail "the desktop entry does not validate"
  else
    echo "note: desktop-file-validate is not installed; the desktop entry was not validated"
  fi
fi

# The installed programs load the installed library, whatever the build has. ldd's output
# is taken whole first: grep -q stops at the first match, and with pipefail the SIGPIPE that
# ldd may then get would fail the check that matched.
qrhost_libs=$(ldd "$prefix/bin/qrhost")
grep -q "=> $prefix/bin/../lib/libqrplatform.so" <<<"$qrhost_libs" ||
  fail "qrhost does not use the installed libqrplatform.so: $(grep qrplatform <<<"$qrhost_libs")"
module_libs=$(ldd "$prefix/lib/quarrion/PlugIns/Karvel.so")
grep -q "=> $prefix/lib/quarrion/PlugIns/../../libqrplatform.so" <<<"$module_libs" ||
  fail "Karvel.so does not use the installed libqrplatform.so"

cd "$work"
"$prefix/bin/qrhost" version Karvel >version.out
grep -q '^CompanyName=Brask Design$' version.out || fail "version Karvel: $(cat version.out)"
"$prefix/bin/qrhost" convert "$source/examples/site.dxf" site.dxf >convert.out ||
  fail "convert: $(cat convert.out)"
grep -q 'OK - Export was successful' convert.out || fail "convert printed: $(cat convert.out)"
grep -q '3DFACE' site.dxf || fail "the converted DXF holds no 3DFACE"
"$prefix/bin/qrhost" render "$source/examples/lamp.lwo" -o lamp.png >render.out
[ "$(head -c 8 lamp.png | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] ||
  fail "render wrote no PNG"
bash "$source/tests/install/thumbnailer_check.sh" "$prefix/share/thumbnailers/karvel.thumbnailer" \
  "$source" "$work"
echo "installed into $prefix and ran qrhost version, convert, render and the thumbnailer from there"
