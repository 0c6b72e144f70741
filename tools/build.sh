#!/bin/sh
# Configures and builds the 32-bit Windows program, the DLL, the data files and
# the tests into BUILD_DIR (default: build/).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="${1:-$root/build}"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-i686-mingw.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)"
