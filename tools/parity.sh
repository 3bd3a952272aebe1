#!/usr/bin/env bash
# The Windows build behaves as the Linux build: every scenario listed in
# tests/scenarios/scenarios.txt is compiled and run by the Linux runner
# against the .so, then run by the Windows runner under Wine against the
# Windows module, from a folder laid out as FS9's. Both runs must pass and
# their traces must be identical, byte for byte.
#
#   tools/parity.sh x64    the x86-64 build's module under 64-bit Wine, in
#                          place of the package's .gau (runs on every machine)
#   tools/parity.sh i686   the install package's .gau under 32-bit Wine (needs
#                          a kernel that runs 32-bit programs)
#
# Both need build/linux-debug, the Windows build of their ARCH and the install
# package (tools/test.sh and tools/package.sh make them).
# Output: build/parity/ARCH/NAME/{linux,windows}.
set -euo pipefail
cd "$(dirname "$0")/.."

arch=${1:-}
linux=build/linux-debug
case "$arch" in
    x64)
        windows=build/windows-x64
        gau="$windows/bin/Kesta_Avrion_0_018.gau"
        wine=(cmake/wine-run.sh --win64)
        ;;
    i686)
        windows=build/windows-i686
        gau=""
        wine=(cmake/wine-run.sh)
        ;;
    *)
        echo "usage: tools/parity.sh x64|i686" >&2
        exit 2
        ;;
esac
package=build/package/Kesta_Avrion_0_018
out=build/parity/$arch
for needed in "$linux/bin/avrion-scenario" "$linux/bin/Kesta_Avrion_0_018.so" \
    "$windows/bin/avrion-scenario.exe" "$package/Gauges/Kesta_Avrion_0_018.gau" ${gau:+"$gau"}; do
    if [ ! -f "$needed" ]; then
        echo "parity: $needed is missing; build the presets and run tools/package.sh first" >&2
        exit 2
    fi
done

rm -rf "$out"
mkdir -p "$out/kernel-objects"
# FS9's folder: the package's Gauges as a user installs them (with the x64
# module in place of the .gau), the aircraft file the module reads the payload
# from, and the runner where FS9.EXE sits.
fs9="$out/fs9"
mkdir -p "$fs9/Aircraft/Qiro_Avrion"
cp -r "$package/Gauges" "$fs9/"
[ -z "$gau" ] || cp "$gau" "$fs9/Gauges/Kesta_Avrion_0_018.gau"
cp sim/Aircraft/Qiro_Avrion/Aircraft.cfg "$fs9/Aircraft/Qiro_Avrion/"
cp "$windows/bin/avrion-scenario.exe" "$fs9/"

# A Wine prefix of its own: its Wine server holds the named objects of these
# runs only, apart from those of the Windows build's tests.
#
# Sound plays into silent outputs: OpenAL Soft's null driver on Linux, ALSA's
# null device under Wine (the .asoundrc in the Windows build's wine-home).
printf '[general]\ndrivers = null\n' >"$out/openal-silent.conf"
# Wine without a display shows no window: a message box of the module (a
# sound that cannot load) returns at once instead of waiting for a click.
# A run that still does not end is a failure.
limit=3600

failed=()
while IFS= read -r entry; do
    case "$entry" in '' | '#'*) continue ;; esac
    scenario="tests/scenarios/$entry"
    name=$(basename "$entry" .yaml)
    # Every program below reads nothing: the list of scenarios is on standard input.
    mkdir -p "$out/$name"
    echo "=== parity ($arch): $name"

    if ! AVRION_KERNEL_OBJECTS="$PWD/$out/kernel-objects" ALSOFT_CONF="$PWD/$out/openal-silent.conf" \
        "$linux/bin/avrion-scenario" "$scenario" --module "$linux/bin/Kesta_Avrion_0_018.so" --sim-root sim \
        --no-pictures --compile "$out/$name/scenario.json" </dev/null >"$out/$name/compile.log" 2>&1; then
        cat "$out/$name/compile.log" >&2
        failed+=("$name: the Linux runner did not compile it")
        continue
    fi

    if ! AVRION_KERNEL_OBJECTS="$PWD/$out/kernel-objects" ALSOFT_CONF="$PWD/$out/openal-silent.conf" \
        "$linux/bin/avrion-scenario" "$scenario" --module "$linux/bin/Kesta_Avrion_0_018.so" --sim-root sim \
        --no-pictures --output "$out/$name/linux" </dev/null >"$out/$name/linux.log" 2>&1; then
        cat "$out/$name/linux.log" >&2
        failed+=("$name: the Linux run failed")
        continue
    fi

    start=$(date +%s%N)
    status=0
    AVRION_WINEPREFIX="$PWD/$windows/wineprefix-parity" HOME="$PWD/$windows/wine-home" \
        timeout "$limit" env -u DISPLAY -u WAYLAND_DISPLAY "${wine[@]}" "$fs9/avrion-scenario.exe" \
        "$out/$name/scenario.json" --output "$out/$name/windows" </dev/null >"$out/$name/windows.log" 2>&1 ||
        status=$?
    elapsed=$((($(date +%s%N) - start) / 1000000))
    seconds=$((elapsed / 1000)).$(printf %03d $((elapsed % 1000)))
    echo "parity: $name under Wine ($arch): exit $status after $seconds s"
    echo "$name $seconds" >>"$out/wine-seconds.txt"
    if [ "$status" -ne 0 ]; then
        cat "$out/$name/windows.log" >&2
        failed+=("$name: the Windows run under Wine exited with $status")
        continue
    fi

    if ! cmp -s "$out/$name/linux/trace.csv" "$out/$name/windows/trace.csv"; then
        echo "parity: $name: the traces differ (first differences, Linux < > Windows):" >&2
        diff "$out/$name/linux/trace.csv" "$out/$name/windows/trace.csv" | head -n 20 >&2 || true
        failed+=("$name: the Windows trace differs from the Linux trace")
    fi
done <tests/scenarios/scenarios.txt

if [ "${#failed[@]}" -gt 0 ]; then
    printf 'parity ('"$arch"'): FAILED: %s\n' "${failed[@]}" >&2
    exit 1
fi
echo "parity: every scenario passed on Linux and Windows ($arch) with identical traces"
