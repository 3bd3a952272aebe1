#!/usr/bin/env bash
# The sibling stand-in from another terminal: a value set lives while it
# holds the table, the running module sees it, and it is gone afterwards.
set -euo pipefail
slots=$1
host=$2
sim_root=$3
"$slots" set 109=1 --for 4 >/dev/null &
holder=$!
sleep 0.5
"$slots" get 109 | grep -qx "slot 109 = 1"
wait "$holder"
"$slots" get 109 | grep -qx "slot 109 = 0"
if "$slots" get 116 2>/dev/null; then exit 1; fi

# What the running module publishes is seen from the other terminal.
watched=$(mktemp)
trap 'rm -f "$watched"' EXIT
"$slots" watch 102 --for 8 >"$watched" &
watcher=$!
sleep 0.3
"$host" --sim-root "$sim_root" --frames 18 --real-time --click 4:AZS_door_heat:1 >/dev/null
wait "$watcher"
grep -qx "slot 102 = 1" "$watched"

# A second interactive program on the same table says so at start instead of sharing it.
"$host" --sim-root "$sim_root" --frames 36 --real-time >/dev/null &
first=$!
sleep 0.5
if second=$("$host" --sim-root "$sim_root" --frames 1 2>&1); then
    echo "a second avrion-host shared the table of the first"
    exit 1
fi
wait "$first"
grep -q "in use by avrion-host (process $first)" <<<"$second"
"$host" --sim-root "$sim_root" --frames 1 >/dev/null

echo "ok: the slot table is shared while held and fresh afterwards, and claimed by one interactive program"
