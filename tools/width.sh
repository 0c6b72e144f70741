# Sourced by the build, test, run and benchmark scripts: which width of Windows
# code this machine builds its tests at and starts. MIROVALE_ARCH=i686 or x86_64
# chooses by hand; otherwise 32-bit where Wine's 32-bit loader starts, and
# 64-bit where the kernel runs no 32-bit code (that loader then fails with
# "Exec format error"). pick_width ROOT sets MIROVALE_ARCH and MIROVALE_BUILD,
# the width's own build folder (build/ for 32-bit, build-x86_64/ for 64-bit).

runs_32bit_code() {
    loader=$(dpkg -L wine32 2>/dev/null | grep '/lib/wine/wine$' | head -n 1)
    [ -x "${loader:=/usr/lib/wine/wine}" ] && "$loader" --version >/dev/null 2>&1
}

pick_width() {
    if [ -z "${MIROVALE_ARCH:-}" ]; then
        if runs_32bit_code; then MIROVALE_ARCH=i686; else MIROVALE_ARCH=x86_64; fi
        MIROVALE_ARCH_WHY="chosen for this machine"
    else
        MIROVALE_ARCH_WHY="set by MIROVALE_ARCH"
    fi
    case "$MIROVALE_ARCH" in
        i686) MIROVALE_BUILD="${MIROVALE_BUILD:-$1/build}" ;;
        x86_64) MIROVALE_BUILD="${MIROVALE_BUILD:-$1/build-x86_64}" ;;
        *) echo "MIROVALE_ARCH must be i686 or x86_64, not '$MIROVALE_ARCH'" >&2; exit 2 ;;
    esac
    export MIROVALE_ARCH MIROVALE_BUILD
}

# The width's build folder when none is named, for the benchmark scripts.
width_build() {
    pick_width "$1" >/dev/null
    echo "$MIROVALE_BUILD"
}
