#!/bin/sh
# Times the LWOB, LWO2 and DXF readers on generated objects and Debian's assimp on the same
# 200,000-face DXF, side by side: wall time (best of RUNS), throughput, peak memory.
#
# usage: bench/compare_readers.sh [BUILD_DIR] [WORK_DIR]
#   BUILD_DIR: a release build holding bin/make_objects and bin/qrhost
#              (default build/release; configure with `cmake --preset release`)
#   WORK_DIR:  where the generated files go (default a temporary folder, removed at the end)
set -eu

build=${1:-build/release}
work=${2:-}
runs=${RUNS:-3}
make_objects=$build/bin/make_objects
qrhost=$build/bin/qrhost
for tool in "$make_objects" "$qrhost" /usr/bin/time; do
    [ -x "$tool" ] || { echo "missing $tool (build the targets make_objects and qrhost)" >&2; exit 2; }
done
if [ -z "$work" ]; then
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
fi
mkdir -p "$work"

# best wall seconds and the peak resident set (KB) of that run; the command's stdout is dropped
measure() {
    best=""
    for _ in $(seq "$runs"); do
        /usr/bin/time -v "$@" >/dev/null 2>"$work/time.txt" || { cat "$work/time.txt" >&2; exit 1; }
        wall=$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$work/time.txt" |
               awk -F: '{ s = 0; for (i = 1; i <= NF; i++) s = s * 60 + $i; print s }')
        rss=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/time.txt")
        if [ -z "$best" ] || awk "BEGIN { exit !($wall < $best) }"; then
            best=$wall
            best_rss=$rss
        fi
    done
}

report() { # name file items
    size=$(stat -c %s "$2")
    awk -v n="$1" -v t="$best" -v m="$best_rss" -v s="$size" -v c="$3" 'BEGIN {
        if (t <= 0) t = 0.005
        printf "%-28s %8.1f MB %8.3f s %9.1f MB/s %12.0f items/s %8.1f MB peak\n", n, s / 1e6, t, s / 1e6 / t, c / t, m / 1024 }'
}

echo "generating objects in $work"
"$make_objects" lwo 200000 "$work/lwo_200k.lwo"
"$make_objects" lwo 2000000 "$work/lwo_2m.lwo"
"$make_objects" lwo2 200000 "$work/lwo2_200k.lwo"
"$make_objects" lwo2 2000000 "$work/lwo2_2m.lwo"
"$make_objects" dxf 200000 8 "$work/dxf_200k.dxf"
"$make_objects" dxf 2000000 8 "$work/dxf_2m.dxf"

printf "%-28s %11s %10s %14s %20s %13s\n" run size wall throughput rate memory
measure "$qrhost" inspect --summary "$work/lwo_200k.lwo"; report "LWO 200k polygons" "$work/lwo_200k.lwo" 200000
measure "$qrhost" inspect --summary "$work/lwo_2m.lwo"; report "LWO 2M polygons" "$work/lwo_2m.lwo" 2000000
measure "$qrhost" inspect --summary "$work/lwo2_200k.lwo"; report "LWO2 200k polygons" "$work/lwo2_200k.lwo" 200000
measure "$qrhost" inspect --summary "$work/lwo2_2m.lwo"; report "LWO2 2M polygons" "$work/lwo2_2m.lwo" 2000000
measure "$qrhost" inspect --summary "$work/dxf_200k.dxf"; report "DXF 200k faces" "$work/dxf_200k.dxf" 200000
ours=$best
measure "$qrhost" inspect --summary "$work/dxf_2m.dxf"; report "DXF 2M faces" "$work/dxf_2m.dxf" 2000000
if command -v assimp >/dev/null 2>&1; then
    measure assimp info "$work/dxf_200k.dxf"; report "assimp info, DXF 200k faces" "$work/dxf_200k.dxf" 200000
    awk -v a="$best" -v o="$ours" 'BEGIN { printf "DXF 200k: ours is %.1f times as fast as assimp\n", a / o }'
else
    echo "assimp not installed (Debian assimp-utils): no side-by-side run"
fi
