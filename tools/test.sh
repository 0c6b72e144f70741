#!/bin/sh
# Installs what is missing, builds everything and runs every test under Wine
# and Xvfb. Usage: tools/test.sh [ctest arguments...]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="${MIROVALE_BUILD:-$root/build}"
sh "$root/tools/install-deps.sh"
sh "$root/tools/build.sh" "$build"
sh "$root/tools/make-prefix.sh" "$build"

export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
. "$root/tools/xvfb.sh"
start_xvfb
trap 'stop_xvfb' EXIT INT TERM
# One wineserver for the whole run, started outside ctest's pipes; without it
# every test program pays for Wine's start-up again.
wineserver -p30
wine cmd /c exit >/dev/null 2>&1 || true
rc=0
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" "$@" || rc=$?
# Let the server leave by itself; a program left hanging by a failed test is ended.
timeout 40 wineserver -w || wineserver -k || true
exit $rc
