#!/usr/bin/env bash
# Sets up this machine and runs every test: the Linux build, the same under
# AddressSanitizer and UndefinedBehaviorSanitizer, and the Windows (i686)
# build under Wine, and a minute of fuzzing the WAV reader. Then the install
# package is made and every scenario runs on both builds: under Wine against
# the package's .gau, with the same traces as on Linux.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/setup.sh
for preset in linux-debug linux-asan linux-fuzz windows-i686; do
    echo "=== $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    ctest --preset "$preset"
done
echo "=== package"
tools/package.sh
echo "=== parity"
tools/parity.sh
