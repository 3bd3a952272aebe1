#!/usr/bin/env bash
# Sets up this machine and runs every test:
#   linux-debug    the unit, functional, scenario, report and browser tests
#   linux-asan     the same under AddressSanitizer and UndefinedBehaviorSanitizer
#   linux-fuzz     a minute of fuzzing the WAV reader and the panel's requests
#   windows-x64    the Windows unit and functional tests under 64-bit Wine
#   windows-i686   the same under 32-bit Wine, where the kernel runs 32-bit
#                  programs; elsewhere the .gau is built and checked statically
#   package        the install package, its .gau checked statically
#   parity         every scenario on Linux and under Wine (x64, and i686 where
#                  it runs) with identical traces
# The summary at the end names every stage: passed, skipped (and why) or failed.
set -euo pipefail
cd "$(dirname "$0")/.."

passed=()
skipped=()
current=""
summary() {
    local status=$?
    echo "=== summary"
    local stage
    for stage in "${passed[@]}"; do echo "passed:  $stage"; done
    for stage in "${skipped[@]}"; do echo "SKIPPED: $stage"; done
    [ -z "$current" ] || echo "FAILED:  $current"
    return $status
}
trap summary EXIT

begin() {
    current=$1
    echo "=== $current"
}
end() {
    passed+=("$current")
    current=""
}
skip() {
    echo "$1"
    skipped+=("$1")
}

tools/setup.sh
runs_32_bit=""
if tools/runs-32-bit.sh; then runs_32_bit=1; fi

for preset in linux-debug linux-asan linux-fuzz windows-x64 windows-i686; do
    begin "$preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    if [ "$preset" = windows-i686 ] && [ -z "$runs_32_bit" ]; then
        ctest --preset "$preset" --label-regex static
        current="$preset (built and checked statically)"
        skip "windows-i686: tests not run: this machine's kernel runs no 32-bit programs (a 32-bit program would not start, as with ia32_emulation=off); the .gau is built and checked statically"
    else
        ctest --preset "$preset"
    fi
    end
done

begin package
tools/package.sh
end

begin "parity x64"
tools/parity.sh x64
end
if [ -n "$runs_32_bit" ]; then
    begin "parity i686"
    tools/parity.sh i686
    end
else
    skip "parity i686: not run: this machine's kernel runs no 32-bit programs (a 32-bit program would not start, as with ia32_emulation=off); the x64 parity ran in its place"
fi
