#!/usr/bin/env bash
# The shipped sounds are exactly what the generator makes today.
set -euo pipefail
generator=$1
shipped=$2
fresh=$(mktemp -d)
trap 'rm -rf "$fresh"' EXIT
"$generator" "$fresh" >/dev/null
for file in "$shipped"/*.wav; do
    cmp "$file" "$fresh/$(basename "$file")"
done
echo "all $(ls "$shipped"/*.wav | wc -l) shipped sounds match the generator"
