#!/usr/bin/env bash
# Runs a Windows program under Wine in a prefix kept inside the build folder
# (AVRION_WINEPREFIX), quietly and without Wine's Mono and Gecko set-up.
set -euo pipefail
export WINEPREFIX="${AVRION_WINEPREFIX:-$PWD/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINEARCH=win32
exec wine "$@"
