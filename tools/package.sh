#!/usr/bin/env bash
# Builds the Windows module and makes the install package an FS9 user copies
# into the simulator's folder:
#   build/package/Kesta_Avrion_0_018/      Gauges/, Examples/, INSTALL.txt
#   build/package/Kesta_Avrion_0_018.zip   the same folder, zipped
# Everything in it comes from the build and from sim/ and package/ of this tree.
set -euo pipefail
cd "$(dirname "$0")/.."

name=Kesta_Avrion_0_018
tools/setup.sh
cmake --preset windows-i686 >/dev/null
cmake --build --preset windows-i686 --target avrion_gauge_module

out=build/package
stage="$out/$name"
rm -rf "$stage" "$out/$name.zip"
mkdir -p "$stage/Gauges/Avrion_cfg/Sound" "$stage/Examples"

# Text files with Windows line ends, so that Notepad shows them as lines.
crlf() { sed 's/\r*$/\r/' "$1" >"$2"; }

# Without the symbols and debugging sections, which users have no use for.
i686-w64-mingw32-strip -o "$stage/Gauges/$name.gau" "build/windows-i686/bin/$name.gau"
/usr/bin/python3 tests/gau_static_test.py "$stage/Gauges/$name.gau" i686 module/resources/bitmaps >/dev/null
crlf sim/Gauges/Avrion_cfg/avrion_gau.cfg "$stage/Gauges/Avrion_cfg/avrion_gau.cfg"
cp sim/Gauges/Avrion_cfg/Sound/*.wav "$stage/Gauges/Avrion_cfg/Sound/"
crlf sim/panel/panel.cfg "$stage/Examples/panel.cfg"
crlf sim/Aircraft/Qiro_Avrion/Aircraft.cfg "$stage/Examples/Aircraft.cfg"
crlf package/INSTALL.txt "$stage/INSTALL.txt"

sounds=$(find "$stage/Gauges/Avrion_cfg/Sound" -name '*.wav' | wc -l)
if [ "$sounds" -ne 6 ]; then
    echo "package: expected the six panel sounds, found $sounds" >&2
    exit 1
fi

# Stored without extra attributes, so that one tree always zips the same.
(cd "$out" && find "$name" -print | LC_ALL=C sort | zip -q -X -@ "$name.zip")
echo "package: $stage ($(stat -c %s "$stage/Gauges/$name.gau") bytes of .gau)"
echo "package: $out/$name.zip"
