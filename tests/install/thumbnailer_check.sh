#!/usr/bin/env bash
# thumbnailer_check.sh ENTRY SOURCE WORK: runs an installed thumbnailer entry
# as a file manager does (its Exec line with %i, %o and %s filled in, no
# display, a bare environment) on each bundled example and on a damaged file.
# A thumbnail must be an 8-bit RGBA PNG, not interlaced, within SIZE x SIZE;
# a file that cannot be read must give a non-zero exit and no file.
set -euo pipefail
entry=$1 source=$2 work=$3
fail() { echo "FAIL: $*" >&2; exit 1; }
[ -f "$entry" ] || fail "no thumbnailer entry $entry"
grep -qx 'MimeType=image/x-lwo;image/vnd.dxf;' "$entry" || fail "MimeType: $(grep MimeType "$entry")"
exec_line=$(sed -n 's/^Exec=//p' "$entry")
[ -n "$exec_line" ] || fail "the entry has no Exec line"
mkdir -p "$work/thumbs" "$work/home"
size=128
# The desktop's way: split the line into words, then fill in each field.
thumbnail() { # INPUT OUTPUT
  local words=() word
  read -r -a words <<<"$exec_line"
  local args=()
  for word in "${words[@]}"; do
    word=${word//%i/$1}
    word=${word//%o/$2}
    word=${word//%s/$size}
    args+=("$word")
  done
  env -i PATH=/usr/bin:/bin HOME="$work/home" "${args[@]}" >/dev/null 2>"$work/thumbs/err"
}
for example in crate.lwo lamp.lwo site.dxf; do
  out=$work/thumbs/$example.png
  thumbnail "$source/examples/$example" "$out" || fail "$example: $(cat "$work/thumbs/err")"
  python3 - "$out" "$size" <<'PY' || fail "$example: not a thumbnail"
import struct, sys
data = open(sys.argv[1], "rb").read(33)
assert data[:8] == b"\x89PNG\r\n\x1a\n" and data[12:16] == b"IHDR", "no PNG"
width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", data[16:29])
size = int(sys.argv[2])
assert 0 < width <= size and 0 < height <= size, (width, height)
assert (depth, colour, interlace) == (8, 6, 0), (depth, colour, interlace)
PY
done
# Damaged, not merely cut short (a cut file shows what it holds): a FORM of no
# LightWave type.
printf 'FORM\0\0\0\x0cLWXXPNTS\0\0\0\0' >"$work/thumbs/damaged.lwo"
if thumbnail "$work/thumbs/damaged.lwo" "$work/thumbs/damaged.png"; then
  fail "a damaged file gave exit 0"
fi
[ ! -e "$work/thumbs/damaged.png" ] || fail "a damaged file left a thumbnail"
echo "the thumbnailer entry made thumbnails of the examples and refused a damaged file"
