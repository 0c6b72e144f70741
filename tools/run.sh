#!/bin/sh
# Installs what is missing, builds, and starts Mirovale under Wine. With a
# display the program just runs there. Without one it runs on a private Xvfb,
# a screenshot of the main window with the start menu is saved as
# shots/main.png in the build folder, and the program is ended again.
# The program starts at the width this machine runs (tools/width.sh): 32-bit, or
# 64-bit where the kernel runs no 32-bit code.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
sh "$root/tools/install-deps.sh"
. "$root/tools/width.sh"
pick_width "$root"
build=$MIROVALE_BUILD
case "$MIROVALE_ARCH" in
    i686) echo "run: the 32-bit program ($MIROVALE_ARCH_WHY) from $build" ;;
    *) echo "run: the 64-bit program ($MIROVALE_ARCH_WHY) from $build" ;;
esac
sh "$root/tools/build.sh" "$build" "$MIROVALE_ARCH" Mirovale Runemark runtime_data
sh "$root/tools/make-prefix.sh" "$build"
if [ -n "${DISPLAY:-}" ]; then
    exec "$build/wine-run.sh" "$build/bin/Mirovale.exe" "$@"
fi

. "$root/tools/xvfb.sh"
start_xvfb
echo "run: no display; started Xvfb on $DISPLAY"
# Nobody can answer the first start's language and model choosers here: a
# program without settings starts with US English and the first US model.
ini="$build/bin/Mirovale.ini"
if [ ! -f "$ini" ]; then
    printf '[File]\r\nLanguageFile=English_US.dat\r\nNaviFile=US_KV410.dat\r\n[Option]\r\nVerCheck=0\r\n' >"$ini"
    echo "run: wrote $ini (US English, model KV410)"
fi
"$build/wine-run.sh" "$build/bin/Mirovale.exe" "$@" &
program=$!
shot="$build/shots/main.png"
mkdir -p "$build/shots"
found=""
for _ in $(seq 1 120); do
    if xwininfo -name Mirovale >/dev/null 2>&1 || xwininfo -name Seravine >/dev/null 2>&1; then
        found=yes
        break
    fi
    kill -0 "$program" 2>/dev/null || break
    sleep 0.5
done
status=0
if [ -n "$found" ]; then
    sleep 3  # start-up ends with the first paint and idle pass
    name=Mirovale
    xwininfo -name Mirovale >/dev/null 2>&1 || name=Seravine
    import -window "$name" "$shot"
    echo "run: screenshot of the main window saved as $shot"
else
    echo "run: the main window did not appear" >&2
    status=1
fi
kill "$program" 2>/dev/null || true
WINEPREFIX="$build/wineprefix" wineserver -k 2>/dev/null || true
stop_xvfb
exit $status
