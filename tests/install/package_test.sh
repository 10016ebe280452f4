#!/usr/bin/env bash
# package_test.sh BUILD SOURCE: `cpack -G DEB` builds the package, whose
# dependencies dpkg-shlibdeps computed; as root it is installed with dpkg -i,
# the installed qrhost converts an example, and the package is purged again.
# Exit 77 (skipped) when that cannot be done here.
set -euo pipefail
build=$1 source=$2
skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in cpack dpkg dpkg-deb dpkg-shlibdeps; do
  command -v "$tool" >/dev/null || skip "$tool is not installed"
done
work=$(mktemp -d)
installed=""
# dpkg ARGS..., waiting up to two minutes while another dpkg or apt (some
# other installation on this machine) holds dpkg's lock.
dpkg_waiting() {
  local tries=0
  until dpkg "$@" >"$work/dpkg.log" 2>&1; do
    grep -q 'lock' "$work/dpkg.log" && [ $((tries += 1)) -lt 24 ] || return 1
    sleep 5
  done
}
cleanup() {
  if [ -n "$installed" ]; then dpkg_waiting --purge karvel || echo "could not remove karvel" >&2; fi
  rm -rf "$work"
}
trap cleanup EXIT

(cd "$build" && cpack -G DEB -B "$work" >"$work/cpack.log" 2>&1) || fail "cpack: $(cat "$work/cpack.log")"
deb=$(ls "$work"/karvel_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libstdc++6 libcairo2; do
  grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done
contents=$(dpkg-deb -c "$deb")
grep -q ' ./usr/lib/quarrion/PlugIns/Karvel.so$' <<<"$contents" || fail "no Karvel.so in the package"
grep -q ' ./usr/share/thumbnailers/karvel.thumbnailer$' <<<"$contents" ||
  fail "no thumbnailer entry in the package"

[ "$(id -u)" -eq 0 ] || skip "the package was built ($depends), but dpkg -i needs root"
if dpkg-query -W -f='${Status}' karvel 2>/dev/null | grep -q 'ok installed'; then
  skip "a karvel package is installed already; it is left alone"
fi
dpkg_waiting -i "$deb" || fail "dpkg -i: $(cat "$work/dpkg.log")"
installed=yes
export QUARRION_PROFILE=$work/profile.ini
cd "$work"
/usr/bin/qrhost convert "$source/examples/crate.lwo" crate.dxf >convert.out ||
  fail "the installed qrhost: $(cat convert.out)"
grep -q 'OK - Export was successful' convert.out || fail "convert printed: $(cat convert.out)"
[ -f /usr/share/applications/karvel-prefs.desktop ] || fail "no desktop entry installed"
bash "$source/tests/install/thumbnailer_check.sh" /usr/share/thumbnailers/karvel.thumbnailer \
  "$source" "$work"
dpkg_waiting --purge karvel || fail "dpkg --purge: $(cat "$work/dpkg.log")"
installed=""
[ ! -e /usr/bin/qrhost ] || fail "dpkg --purge left /usr/bin/qrhost"
echo "built $deb, installed it with dpkg -i, converted an example, removed it"
