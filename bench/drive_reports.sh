#!/bin/sh
# Runs the drive-report benchmark and times gpsbabel reading the same GPX track
# and writing CSV as a native process of the host (not from inside Wine), so
# both figures and their ratio come from one run.
#   sh bench/drive_reports.sh [build folder]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tools/width.sh"
build=$(cd "${1:-$(width_build "$root")}" && pwd)
cmake --build "$build" --target bench_drive_reports >/dev/null
work=$(mktemp -d /tmp/drive_reports_bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
win="Z:$(echo "$work" | tr / '\\')"
run() { "$build/wine-run.sh" "$build/bench/bench_drive_reports.exe" "$@"; }

run prepare "$win"
babel=
if command -v gpsbabel >/dev/null 2>&1; then
    # The best of three runs, as a warm cache gives our side too.
    for i in 1 2 3; do
        s=$(date +%s%N)
        gpsbabel -i gpx -f "$work/track100k.gpx" -o unicsv -F "$work/gpsbabel.csv"
        e=$(date +%s%N)
        t=$(( e - s ))
        if [ -z "$babel" ] || [ "$t" -lt "$babel" ]; then babel=$t; fi
    done
    babel=$(awk "BEGIN { printf \"%.4f\", $babel / 1e9 }")
fi
run run "$win" $babel
