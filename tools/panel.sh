#!/usr/bin/env bash
# Sets up this machine, builds the module and avrion-panel, and serves the live
# panel of the shipped layout (sim/panel/panel.cfg) on this machine only; it
# prints the address to open in a browser. Ctrl-C stops it and shuts the
# module down. A rebuild of the module (cmake --build --preset linux-release
# from another terminal) is loaded into the running panel. Extra arguments go
# to avrion-panel (--port N, --listen ADDR, --slot N=VALUE, --record-to DIR,
# --no-reload, ...; see build/linux-release/bin/avrion-panel --help).
set -euo pipefail
cd "$(dirname "$0")/.."

tools/setup.sh
cmake --preset linux-release >/dev/null
cmake --build --preset linux-release
exec build/linux-release/bin/avrion-panel --sim-root sim --bitmaps module/resources/bitmaps --page host/web/page "$@"
