#!/bin/sh
# The XML readers beside gpsbabel on the same files, alternating run by run:
# ours inside the program (bench_xml_vs_gpsbabel under Wine, the read itself
# timed in the process), gpsbabel as a native process of the host doing the
# same work: it reads the whole file and writes none of what it read (every
# item dropped before its writer, which leaves a CSV header only), its whole run. Medians of RUNS (default 7, at least 5) runs each,
# peak memory of each, and the ratio (aim: ours at most half of gpsbabel's).
#   sh bench/xml_vs_gpsbabel.sh [build folder] [runs]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tools/width.sh"
build=$(cd "${1:-$(width_build "$root")}" && pwd)
cmake --build "$build" --target bench_xml_vs_gpsbabel >/dev/null
runs=${2:-7}
[ "$runs" -ge 5 ] || runs=5
command -v gpsbabel >/dev/null 2>&1 || { echo "gpsbabel: not installed on the host (Debian package gpsbabel)"; exit 1; }
work=$(mktemp -d /tmp/xml_vs_gpsbabel.XXXXXX)
trap 'rm -rf "$work"' EXIT INT TERM
win="Z:$(echo "$work" | tr / '\\')"
ours() { "$build/wine-run.sh" "$build/bench/bench_xml_vs_gpsbabel.exe" "$1" "$win" | tr -d '\r' | grep '^RESULT'; }
field() { echo "$1" | sed -n "s/.* $2=\([0-9.]*\).*/\1/p"; }
median() { tr ' ' '\n' | grep -v '^$' | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

"$build/wine-run.sh" "$build/bench/bench_xml_vs_gpsbabel.exe" prepare "$win" >/dev/null
[ -s "$work/track100k.gpx" ] && [ -s "$work/poi2000.kml" ] || { echo "prepare failed" >&2; exit 1; }

for kind in gpx kml; do
    if [ "$kind" = gpx ]; then file=track100k.gpx; what="GPX of 100,000 points to a report with statistics"
    else file=poi2000.kml; what="POI KML of 2,000 placemarks into the document"; fi
    babel_args="-i $kind -f $work/$file -x nuketypes,waypoints,tracks,routes -o unicsv -F $work/babel.csv"
    babel_work="reads $file whole, writes none of it"
    o_times= o_parses= o_peaks= o_growths= b_times= b_peaks= fails=0
    i=0
    while [ $i -lt "$runs" ]; do
        i=$((i + 1))
        line=$(ours "$kind" || true)
        case "$line" in *" ok") ;; *) fails=$((fails + 1)) ;; esac
        o_times="$o_times $(field "$line" seconds)"
        o_parses="$o_parses $(field "$line" parse)"
        o_peaks="$o_peaks $(field "$line" peak_kib)"
        o_growths="$o_growths $(field "$line" growth_kib)"
        s=$(date +%s%N)
        /usr/bin/time -f "%M" -o "$work/mem" gpsbabel $babel_args >/dev/null
        e=$(date +%s%N)
        b_times="$b_times $(awk "BEGIN { printf \"%.6f\", ($e - $s) / 1e9 }")"
        b_peaks="$b_peaks $(cat "$work/mem")"
    done
    ot=$(echo $o_times | median); bt=$(echo $b_times | median); opa=$(echo $o_parses | median)
    op=$(echo $o_peaks | median); og=$(echo $o_growths | median); bp=$(echo $b_peaks | median)
    echo "$what (medians of $runs, alternating):"
    echo "  ours     $ot s  (in the program, of it $opa s the XML parse alone; peak working set $op KiB, of it $og KiB grown by the read)$([ $fails -eq 0 ] || echo "  $fails runs FAILED")"
    echo "  gpsbabel $bt s  (host process, $babel_work: gpsbabel $babel_args; peak RSS $bp KiB)" | sed "s|$work/||g"
    awk -v o="$ot" -v b="$bt" 'BEGIN { printf "  ours/gpsbabel = %.2f (aim: at most 0.5)\n", o / b }'
done
