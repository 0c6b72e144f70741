#!/bin/sh
# Configures and builds into BUILD_DIR (default: build/) the Windows code of one
# width (i686, the default, or x86_64): the program, the DLL, the data files
# and the tests, or only the TARGETs named.
# Usage: tools/build.sh [BUILD_DIR [i686|x86_64 [TARGET...]]]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="${1:-$root/build}"
arch="${2:-i686}"
[ $# -gt 2 ] && shift 2 || set --
toolchain="$root/cmake/toolchain-$arch-mingw.cmake"
[ -f "$toolchain" ] || { echo "build: no toolchain for '$arch'" >&2; exit 2; }
# A folder keeps the width it was made for.
cache="$build/CMakeCache.txt"
if [ -f "$cache" ] && ! grep -q "^CMAKE_TOOLCHAIN_FILE:.*=$toolchain\$" "$cache"; then
    echo "build: $build was configured for another width; use another folder" >&2
    exit 2
fi
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
if [ $# -gt 0 ]; then
    for t in "$@"; do set -- "$@" --target "$t"; shift; done
fi
cmake --build "$build" -j"$(nproc)" "$@"
