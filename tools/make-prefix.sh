#!/bin/sh
# Makes the Wine prefix the tests and the run command use, once per build folder,
# with the Wine loader of the build's width (its wine-run.sh): the area code in
# the registry view the program reads, Wine's Tahoma fonts (GDI+ finds no Tahoma
# without them), window decorations under bare Xvfb, the classic look, no crash
# debugger, and a folder of the build mapped as the removable drive R: (the card).
set -eu
build=$(cd "${1:?usage: make-prefix.sh BUILD_DIR}" && pwd)
prefix="$build/wineprefix"
stamp="$prefix/.mirovale-ready"
# The prefix is made again whenever this script changes.
want=$(cksum < "$0")
[ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ] && exit 0

rm -rf "$prefix"
mkdir -p "$build/card"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine="$build/wine-run.sh"
echo "make-prefix: creating $prefix"
"$wine" wineboot -i >/dev/null 2>&1
wineserver -w

reg() { "$wine" reg add "$@" /f >/dev/null 2>&1; }
# reg of the build's width writes the registry view the program of that width reads.
reg 'HKLM\SOFTWARE\Halvern\Mirovale' /v AREA_CODE /t REG_DWORD /d 1
# A crashing program ends at once: no debugger is started to hold it (an empty
# command cannot start, so the process is ended with its exception).
for view in 32 64; do
    reg 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /t REG_SZ /d '' /reg:$view
done
reg 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N
# Unmanaged windows: with no window manager on Xvfb, Wine otherwise waits about
# 2 s for one each time a captioned window is hidden or destroyed.
reg 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N
reg 'HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager' /v ThemeActive /t REG_SZ /d 0
for f in Tahoma "MS Shell Dlg" "MS Shell Dlg 2"; do
    reg 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v "$f" /t REG_MULTI_SZ \
        /d 'DroidSansFallbackFull.ttf,Droid Sans Fallback'
done
# Drive types live in the 64-bit view only.
reg 'HKLM\Software\Wine\Drives' /v 'r:' /t REG_SZ /d floppy /reg:64
ln -sfn "$build/card" "$prefix/dosdevices/r:"

fonts="$prefix/drive_c/windows/Fonts"
mkdir -p "$fonts"
for f in tahoma.ttf tahomabd.ttf marlett.ttf; do
    cp /usr/share/wine/fonts/$f "$fonts/"
done
wineserver -w
echo "$want" > "$stamp"
