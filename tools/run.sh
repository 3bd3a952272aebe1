#!/usr/bin/env bash
# Sets up this machine, builds the module and the host, and flies the shipped
# default flight through the module: power-up, the A-723, the PPS tests,
# takeoff, cruise, landing and shutdown. The report page (report.html),
# junit.xml, pictures of the panels (each compared with its reference in
# sim/flights/golden), a contact sheet, a trace, the sound and a summary go to
# out/default-flight. Extra arguments go to avrion-scenario (see
# build/linux-release/bin/avrion-scenario --help).
set -euo pipefail
cd "$(dirname "$0")/.."

# Only what this job needs: the module and avrion-scenario with its pictures
# and report (tools/test.sh sets up and builds everything else).
tools/setup.sh --main-job
cmake --preset linux-release >/dev/null
cmake --build --preset linux-release --target avrion-scenario
# The run records its sound into sound.wav in simulator time; with --no-sound
# the module plays to OpenAL Soft's default output, which is silent here unless
# a configuration of your own says otherwise.
mkdir -p out
if [ -z "${ALSOFT_CONF:-}" ]; then
    printf '[general]\ndrivers = null\n' >out/openal-silent.conf
    export ALSOFT_CONF="$PWD/out/openal-silent.conf"
fi
exec build/linux-release/bin/avrion-scenario sim/flights/default_flight.yaml --sim-root sim \
    --bitmaps module/resources/bitmaps --output out/default-flight "$@"
