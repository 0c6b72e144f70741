#!/bin/sh
# Runs the start-up and view-switch benchmarks on a private Xvfb (they open windows).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tools/width.sh"
build=$(width_build "$root")
cmake --build "$build" --target bench_startup --target bench_view_switch >/dev/null
. "$root/tools/xvfb.sh"
start_xvfb
trap 'stop_xvfb' EXIT INT TERM
"$build/wine-run.sh" "$build/bench/bench_startup.exe"
"$build/wine-run.sh" "$build/bench/bench_view_switch.exe"
