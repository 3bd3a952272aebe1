#!/usr/bin/env bash
# Sets up this machine, builds the module and the host, and runs the module
# on the shipped simulator root with the default flight. Extra arguments go to
# the host (see build/linux-release/bin/avrion-host --help).
set -euo pipefail
cd "$(dirname "$0")/.."

tools/setup.sh
cmake --preset linux-release >/dev/null
cmake --build --preset linux-release
exec build/linux-release/bin/avrion-host --sim-root sim --vars sim/flights/default.vars --frames 36 "$@"
