#!/usr/bin/env bash
# Starts avrion-panel on a free loopback port, drives its page in chromium
# (panel_test.mjs), and always stops the server, which must then shut the
# module down cleanly. The panel runs a copy of the module, which the test
# replaces as a rebuild would, and records into OUTPUT_FOLDER/recorded.
# usage: run_panel_test.sh AVRION_PANEL AVRION_SCENARIO OUTPUT_FOLDER
set -euo pipefail
panel_program="$1"
scenario_program="$2"
output="$3"
here="$(cd "$(dirname "$0")" && pwd)"
rm -rf "$output/module" "$output/recorded"
mkdir -p "$output/module"
log="$output/avrion-panel.log"
module="$(dirname "$panel_program")/Kesta_Avrion_0_018.so"
cp "$module" "$output/module/"

"$panel_program" --port 0 --module "$output/module/Kesta_Avrion_0_018.so" --record-to "$output/recorded" >"$log" 2>&1 &
server=$!
stop_server() {
    if kill -0 "$server" 2>/dev/null; then kill -TERM "$server" 2>/dev/null || true; fi
}
trap stop_server EXIT

address=""
for _ in $(seq 1 300); do
    address="$(grep -o 'http://[^ ]*' "$log" | head -n 1 || true)"
    [ -n "$address" ] && break
    if ! kill -0 "$server" 2>/dev/null; then
        echo "avrion-panel did not start:"; cat "$log"; exit 1
    fi
    sleep 0.1
done
if [ -z "$address" ]; then echo "avrion-panel gave no address in 30 s:"; cat "$log"; exit 1; fi
echo "panel at $address"

status=0
node "$here/panel_test.mjs" "$address" "$output" "$scenario_program" "$module" "$here/../../sim" || status=$?

kill -INT "$server"
server_status=0
wait "$server" || server_status=$?
trap - EXIT
cat "$log"
if [ "$server_status" -ne 0 ] || ! grep -q "the module was shut down" "$log"; then
    echo "avrion-panel did not stop cleanly (status $server_status)"
    status=1
fi
echo "screenshot: $output/panel.png"
exit "$status"
