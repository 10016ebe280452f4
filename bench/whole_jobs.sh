#!/usr/bin/env bash
# Times whole jobs as a user runs them: fresh processes on real files, side by side in one
# run, with the floors and the peer they are compared with. Medians of RUNS runs (min-max),
# peak resident memory (/usr/bin/time -v) and the ratios.
#
# usage: bench/whole_jobs.sh [BUILD_DIR] [WORK_DIR]
#   BUILD_DIR: a release build (default build/release; `cmake --preset release &&
#              cmake --build --preset release`)
#   WORK_DIR:  where objects and scenes go (default a temporary folder, removed at the end)
#   RUNS (environment): runs per measurement (default 3); SIZES: face counts (default
#   "200000 2000000")
set -euo pipefail

build=${1:-build/release}
work=${2:-}
runs=${RUNS:-3}
sizes=${SIZES:-"200000 2000000"}
bin=$build/bin
for tool in make_objects qrhost plain_dxf_reader plain_dxf_writer exchange_io; do
    [ -x "$bin/$tool" ] || { echo "missing $bin/$tool (build the release preset)" >&2; exit 2; }
done
[ -x /usr/bin/time ] || { echo "missing /usr/bin/time (Debian package time)" >&2; exit 2; }
if [ -z "$work" ]; then
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
fi
mkdir -p "$work"
export QUARRION_PROFILE=$work/profile.ini
printf '[Karvel]\nview_info=0\nexport_view_info=0\n' > "$QUARRION_PROFILE"

# measure NAME SETUP COMMAND...: SETUP (a shell snippet) runs before each run, untimed.
# Sets median, low, high (wall seconds), cpu (user + system seconds of the median run: less
# disturbed than the wall time when other work shares the machine) and rss (MB).
measure() {
    local setup=$1
    shift
    local times=() rsses=() cpus=()
    for _ in $(seq "$runs"); do
        eval "$setup"
        /usr/bin/time -v "$@" >/dev/null 2>"$work/time.txt" || { cat "$work/time.txt" >&2; exit 1; }
        times+=("$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$work/time.txt" |
                   awk -F: '{ s = 0; for (i = 1; i <= NF; i++) s = s * 60 + $i; print s }')")
        rsses+=("$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/time.txt")")
        cpus+=("$(awk -F': ' '/User time|System time/ { s += $2 } END { print s }' "$work/time.txt")")
    done
    read -r median low high rss cpu < <(paste <(printf '%s\n' "${times[@]}") <(printf '%s\n' "${rsses[@]}") \
        <(printf '%s\n' "${cpus[@]}") | sort -n |
        awk '{ t[NR] = $1; r[NR] = $2; c[NR] = $3 } END { m = int((NR + 1) / 2); printf "%s %s %s %.0f %s\n", t[m], t[1], t[NR], r[m] / 1024, c[m] }')
}

row() { # label items
    printf "%-34s %8.2f s (%5.2f-%5.2f) %7.2f s %7.0f MB %6.0f B/item\n" "$1" "$median" "$low" "$high" \
        "$cpu" "$rss" "$(awk -v r="$rss" -v n="$2" 'BEGIN { print r * 1048576 / n }')"
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b <= 0) b = 0.005; printf "%.2f", a / b }'; }

for faces in $sizes; do
    dxf=$work/faces_$faces.dxf
    lwo=$work/polygons_$faces.lwo
    "$bin/make_objects" dxf "$faces" 8 "$dxf"
    "$bin/make_objects" lwo "$faces" "$lwo"
    echo
    echo "== $faces faces: DXF $(( $(stat -c %s "$dxf") / 1000000 )) MB, LWOB $(( $(stat -c %s "$lwo") / 1000000 )) MB"
    printf "%-34s %8s %15s %9s %10s %13s\n" job wall "(min-max)" cpu peak memory

    measure : "$bin/qrhost" inspect --summary "$dxf"; row "DXF reader (qrhost inspect)" "$faces"; reader=$median
    measure : "$bin/plain_dxf_reader" "$dxf"; row "plain getline + hash reader" "$faces"; plain=$median
    if [ -x "$bin/assimp_read" ]; then
        measure : "$bin/assimp_read" "$dxf"; row "assimp ReadFile, no post-processing" "$faces"; assimp=$median
        echo "  DXF reader: $(ratio "$assimp" "$reader")x as fast as assimp; plain reader takes $(ratio "$plain" "$reader")x its time"
    fi
    host=$work/host_dxf
    measure "rm -rf $host; $bin/qrhost new $host >/dev/null" "$bin/qrhost" run Karvel --folder "$host" --open "$dxf"
    row "DXF import into an empty scene" "$faces"; echo "  import / reader: $(ratio "$median" "$reader")"
    scene=$host/PlugIns/qrplugin.qrc
    scene_mb=$(awk -v s="$(stat -c %s "$scene")" 'BEGIN { printf "%.0f", s / 1e6 }')
    measure : "$bin/qrhost" run Brask_Export --folder "$host" --save "$work/export.dxf"
    row "export of that scene ($scene_mb MB)" "$faces"; export=$median; export_rss=$rss
    measure : "$bin/plain_dxf_writer" "$scene" "$work/plain.dxf"; row "plain streamed writer" "$faces"
    echo "  export / plain writer: $(ratio "$export" "$median"); export peak / scene file: $(ratio "$export_rss" "$scene_mb")"
    "$bin/exchange_io" "$scene" "$work/copy.qrc" | sed 's/^/  exchange file in a fresh process: /'

    measure : "$bin/qrhost" inspect --summary "$lwo"; row "LWOB reader (qrhost inspect)" "$faces"; reader=$median
    host=$work/host_lwo
    measure "rm -rf $host; $bin/qrhost new $host >/dev/null" "$bin/qrhost" run Karvel --folder "$host" --open "$lwo"
    row "LWOB import into an empty scene" "$faces"; echo "  import / reader: $(ratio "$median" "$reader")"
done
