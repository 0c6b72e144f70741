#!/bin/sh
# Installs what is missing, builds, and starts Mirovale under Wine (on the
# current display, or on a private Xvfb when there is none).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="${MIROVALE_BUILD:-$root/build}"
sh "$root/tools/install-deps.sh"
sh "$root/tools/build.sh" "$build"
sh "$root/tools/make-prefix.sh" "$build"
if [ -z "${DISPLAY:-}" ]; then
    . "$root/tools/xvfb.sh"
    start_xvfb
    trap 'stop_xvfb' EXIT INT TERM
    echo "run: no display; started Xvfb on $DISPLAY"
fi
"$build/wine-run.sh" "$build/bin/Mirovale.exe" "$@"
