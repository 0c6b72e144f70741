#!/bin/sh
# Installs the Debian packages the build and the tests need: the mingw-w64
# cross compilers of both widths, Wine (32- and 64-bit: a WoW64 test prefix, or
# a 64-bit one where the kernel runs no 32-bit code), Xvfb,
# GoogleTest sources, librsvg, npm and DejaVu fonts (artwork), gpsbabel (the peer tool
# the benchmarks time), and enables source packages so the
# build can fetch the sources of libjpeg-turbo and pugixml.
set -eu
[ "$(id -u)" = 0 ] && SUDO= || SUDO=sudo

need=
for p in g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix cmake ninja-build wine wine32 wine64 xvfb x11-apps \
         imagemagick fonts-wine fonts-droid-fallback googletest dpkg-dev librsvg2-bin python3 fonts-dejavu-core gpsbabel; do
    dpkg -s "$p" >/dev/null 2>&1 || need="$need $p"
done
# npm may come with a nodejs of another origin; ask Debian for it only when it is missing.
npm=; command -v npm >/dev/null 2>&1 || { npm=npm; need="$need npm"; }
if ! grep -qs 'deb-src' /etc/apt/sources.list.d/debian.sources /etc/apt/sources.list 2>/dev/null; then
    need="$need deb-src"
fi
[ -z "$need" ] && exit 0

echo "install-deps: installing$need"
$SUDO dpkg --add-architecture i386
if [ -f /etc/apt/sources.list.d/debian.sources ] && ! grep -q 'deb-src' /etc/apt/sources.list.d/debian.sources; then
    $SUDO sed -i 's/^Types: deb$/Types: deb deb-src/' /etc/apt/sources.list.d/debian.sources
elif [ -f /etc/apt/sources.list ] && ! grep -q '^deb-src' /etc/apt/sources.list; then
    $SUDO sh -c "sed -n 's/^deb /deb-src /p' /etc/apt/sources.list >> /etc/apt/sources.list"
fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends \
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-i686 \
    binutils-mingw-w64-x86-64 cmake ninja-build \
    wine wine32 wine64 libwine libwine:i386 xvfb xauth x11-apps imagemagick fonts-wine fonts-droid-fallback \
    googletest dpkg-dev librsvg2-bin python3 fonts-dejavu-core gpsbabel $npm >/dev/null
