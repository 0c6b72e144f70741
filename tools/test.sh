#!/bin/sh
# Installs what is missing, builds everything and runs every test under Wine
# and Xvfb, at the width this machine runs (tools/width.sh). Where the kernel
# runs no 32-bit code, the 32-bit program and Runemark.dll are still built (they
# are what users install) and the tests are built and run as 64-bit code.
# Usage: tools/test.sh [ctest arguments...]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
sh "$root/tools/install-deps.sh"
. "$root/tools/width.sh"
pick_width "$root"
build=$MIROVALE_BUILD
if [ "$MIROVALE_ARCH" = x86_64 ]; then
    echo "test: 64-bit tests ($MIROVALE_ARCH_WHY) in $build; the 32-bit program in $root/build"
    sh "$root/tools/build.sh" "$root/build" i686 Mirovale Runemark runtime_data
else
    echo "test: 32-bit program and tests ($MIROVALE_ARCH_WHY) in $build"
fi
sh "$root/tools/build.sh" "$build" "$MIROVALE_ARCH"
sh "$root/tools/make-prefix.sh" "$build"

. "$root/tools/xvfb.sh"
start_xvfb
trap 'stop_xvfb' EXIT INT TERM
# One wineserver for the whole run, started outside ctest's pipes; without it
# every test program pays for Wine's start-up again.
export WINEPREFIX="$build/wineprefix"
# A server still running for this prefix (a run that just ended) serves this one.
wineserver -p30 2>/dev/null || true
"$build/wine-run.sh" cmd /c exit >/dev/null 2>&1 || true
rc=0
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" "$@" || rc=$?
# Let the server leave by itself; a program left hanging by a failed test is ended.
timeout 40 wineserver -w || wineserver -k || true
exit $rc
