#!/usr/bin/env bash
# Runs a Windows program under Wine in a prefix kept inside the build folder
# (AVRION_WINEPREFIX), quietly and without Wine's Mono and Gecko set-up.
# Usage: wine-run.sh [--win64] PROGRAM [ARGUMENTS...]
# --win64 runs a 64-bit program with 64-bit Wine alone, which needs no 32-bit
# support from the kernel; without it the program runs in a 32-bit prefix.
set -euo pipefail
export WINEPREFIX="${AVRION_WINEPREFIX:-$PWD/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
if [ "${1:-}" = --win64 ]; then
    shift
    export WINEARCH=win64
    export WINELOADER=/usr/lib/wine/wine64
    exec /usr/lib/wine/wine64 "$@"
fi
export WINEARCH=win32
exec wine "$@"
