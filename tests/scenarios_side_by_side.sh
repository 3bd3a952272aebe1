#!/usr/bin/env bash
# Runs on one machine never see each other: every shipped scenario three
# times at once, nine runs side by side with nothing set in the environment,
# must each pass as it does alone. They run at the pace of simulator time, so
# that they overlap from start to end.
set -uo pipefail
scenario=$1
module=$2
sim_root=$3
output=$4
shift 4
unset AVRION_KERNEL_OBJECTS
rm -rf "$output"
pids=()
names=()
for file in "$@"; do
    for copy in 1 2 3; do
        name="$(basename "$file" .yaml)-$copy"
        "$scenario" "$file" --module "$module" --sim-root "$sim_root" --no-pictures --no-sound --real-time \
            --output "$output/$name" >"$output-$name.log" 2>&1 &
        pids+=($!)
        names+=("$name")
    done
done
failed=0
for i in "${!pids[@]}"; do
    if ! wait "${pids[$i]}"; then
        echo "FAILED: ${names[$i]}"
        cat "$output-${names[$i]}.log"
        failed=1
    fi
done
[ "$failed" -eq 0 ] && echo "ok: ${#pids[@]} runs side by side, each passed"
exit "$failed"
