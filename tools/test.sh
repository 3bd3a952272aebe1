#!/usr/bin/env bash
# Sets up this machine and runs every test: the Linux build, the same under
# AddressSanitizer and UndefinedBehaviorSanitizer, and the Windows (i686)
# build under Wine, and a minute of fuzzing the WAV reader.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/setup.sh
for preset in linux-debug linux-asan linux-fuzz windows-i686; do
    echo "=== $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    ctest --preset "$preset"
done
