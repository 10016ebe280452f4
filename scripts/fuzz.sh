#!/usr/bin/env bash
# A fuzz campaign: builds the fuzz targets (asan preset) and runs each for
# SECONDS_PER_TARGET seconds (default 600) over a corpus kept between runs in
# build/fuzz/corpus/<target> (seeded from fuzz/seeds), with its format's
# dictionary. Stops at the first finding and names the input that shows it;
# findings stay in build/fuzz/findings/<target>. The test command keeps its
# own short runs over scratch copies of the seeds.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-600}
if [[ ! $seconds =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: scripts/fuzz.sh [SECONDS_PER_TARGET]" >&2
    exit 2
fi

scripts/bootstrap.sh
cmake --preset asan >/dev/null
list=build/asan/fuzz-targets.txt
mapfile -t targets < <(cut -d' ' -f1 "$list")
cmake --build --preset asan --target "${targets[@]}"

while read -r name seeds dict; do
    corpus=build/fuzz/corpus/$name
    findings=build/fuzz/findings/$name
    log=build/fuzz/logs/$name.log
    mkdir -p "$corpus" "$findings" "$(dirname "$log")"
    # Seeds that changed since the last campaign come in again; nothing is removed.
    if [[ -d $seeds ]]; then
        cp -n "$seeds"/* "$corpus"/ 2>/dev/null || true
    fi
    options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
        -artifact_prefix="$findings"/)
    if [[ -s $dict ]]; then
        options+=(-dict="$dict")
    fi
    echo "== $name: $seconds s over $corpus"
    status=0
    "build/asan/bin/$name" "${options[@]}" "$corpus" >"$log" 2>&1 || status=$?
    grep -E '^#[0-9]+[[:space:]]+DONE' "$log" || true
    grep -E '^stat::number_of_executed_units' "$log" || true
    if [[ $status -ne 0 ]]; then
        reproducer=$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$log" | tail -n 1)
        echo "FINDING in $name (exit $status): ${reproducer:-see $log}" >&2
        echo "reproduce: build/asan/bin/$name ${reproducer:-}" >&2
        exit 1
    fi
done <"$list"
echo "no findings"
