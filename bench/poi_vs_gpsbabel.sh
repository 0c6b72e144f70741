#!/bin/sh
# The POI benchmark beside gpsbabel on the same 2,000-row CSV: ours is timed
# inside the program (bench_poi_documents, run under Wine: CSV import plus KML
# write, median of 11); gpsbabel as a process of the host (its whole run, start
# to exit, median of 11). Prints both and their ratio (aim: ours at most half).
# Usage: sh bench/poi_vs_gpsbabel.sh [build folder]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tools/width.sh"
build="${1:-$(width_build "$root")}"
cmake --build "$build" --target bench_poi_documents >/dev/null
work=$(mktemp -d /tmp/mirovale_bench.XXXXXX)
trap 'rm -rf "$work"' EXIT INT TERM
out=$("$build/wine-run.sh" "$build/bench/bench_poi_documents.exe" "Z:$(echo "$work" | tr / '\\')" | tr -d '\r')
echo "$out" | grep -v '^RESULT'
line=$(echo "$out" | grep '^RESULT' || true)
ours=$(echo "$line" | sed -n 's/.*ours_2000_median_s=\([0-9.]*\).*/\1/p')
csv=$(echo "$line" | sed -n 's/.* csv=\(.*\)$/\1/p')
if [ -z "$ours" ] || [ ! -f "$csv" ]; then
    echo "no result from the benchmark program" >&2
    exit 1
fi
if ! command -v gpsbabel >/dev/null 2>&1; then
    echo "gpsbabel: not installed on the host (Debian package gpsbabel); no comparison"
    exit 0
fi
times=""
for run in 1 2 3 4 5 6 7 8 9 10 11; do
    s=$(date +%s%N)
    gpsbabel -i unicsv -f "$csv" -o kml -F "$work/gpsbabel_2000.kml" >/dev/null 2>&1
    e=$(date +%s%N)
    times="$times $((e - s))"
done
babel=$(echo $times | tr ' ' '\n' | sort -n | sed -n 6p)
awk -v ours="$ours" -v babel="$babel" 'BEGIN {
    b = babel / 1e9
    printf "2,000-row CSV to KML: ours %.4f s (in the program), gpsbabel %.4f s (host process, median of 11)\n", ours, b
    printf "ours/gpsbabel = %.2f (aim: at most 0.5)\n", ours / b
}'
