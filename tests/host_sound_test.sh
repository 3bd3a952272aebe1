#!/usr/bin/env bash
# A host run with the sound written to a file: the clicks of two breakers,
# a push-button held while the SSOS siren is armed, and silence around them
# must all be there to hear, at the levels the settings give.
set -euo pipefail
host=$1
sim_root=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$host" --sim-root "$sim_root" --frames 90 --slot 109=1 --slot 29=1 --slot 113=1 --slot 64=1 \
    --click 9:AZS_water_level:1 --click 18:AZS_ITV:1 --click 27:SSOS_btn1:1:hold=36 \
    --sound-file "$work/run.wav" >"$work/report.txt"
grep -q "Message boxes the module showed: none" "$work/report.txt"

# Peak level in dBFS of a stretch of the recording (start and length in s).
peak_db() {
    sox "$work/run.wav" -n trim "$1" "$2" stat 2>&1 |
        awk '/Maximum amplitude/ { if ($3 > 0) print int(20 * log($3) / log(10)); else print -999 }'
}
check() {  # name, start, length, lowest dB, highest dB
    local level
    level=$(peak_db "$2" "$3")
    if [ "$level" -lt "$4" ] || [ "$level" -gt "$5" ]; then
        echo "FAIL: $1 peaks at $level dBFS, expected $4 to $5"
        exit 1
    fi
    echo "ok: $1 peaks at $level dBFS"
}
check "silence before the first click" 0 0.2 -999 -60
check "the two breaker clicks" 0.2 0.9 -25 -10
check "the SSOS siren while the button is held" 1.6 1.6 -14 -5
check "silence after the release" 4.3 0.6 -999 -60
