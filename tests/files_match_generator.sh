#!/usr/bin/env bash
# The shipped generated files (sounds, bitmaps) are exactly what their
# generator makes today: GENERATOR SHIPPED_FOLDER EXTENSION.
set -euo pipefail
generator=$1
shipped=$2
extension=$3
fresh=$(mktemp -d)
trap 'rm -rf "$fresh"' EXIT
"$generator" "$fresh" >/dev/null
count=0
for file in "$shipped"/*."$extension"; do
    cmp "$file" "$fresh/$(basename "$file")"
    count=$((count + 1))
done
echo "all $count shipped .$extension files match the generator"
