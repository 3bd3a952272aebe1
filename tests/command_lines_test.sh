#!/usr/bin/env bash
# Every avrion-* program answers --help and --version as Debian's programs do,
# refuses a bad option with one line and exit status 2, and a run where
# nothing is wrong prints nothing from the sound libraries or the fonts.
set -uo pipefail
bin=$1
sim_root=$2
scenario=$3
failed=0
TMPDIR_OWN=$(mktemp -d)
trap 'rm -rf "$TMPDIR_OWN"' EXIT
fail() { echo "FAILED: $*"; failed=1; }

for program in avrion-host avrion-scenario avrion-panel avrion-render avrion-slots avrion-artwork avrion-soundgen; do
    help=$("$bin/$program" --help 2>&1) || fail "$program --help exits $?"
    grep -q -- "--version" <<<"$help" || fail "$program --help does not list --version"
    version=$("$bin/$program" --version 2>&1) || fail "$program --version exits $?"
    grep -qx "$program 0\.18 .*" <<<"$version" || fail "$program --version says: $version"
    "$bin/$program" --no-such-option >/dev/null 2>"$TMPDIR_OWN/err"
    status=$?
    [ "$status" -eq 2 ] || fail "$program with a bad option exits $status, not 2"
    head -n1 "$TMPDIR_OWN/err" | grep -q "^$program: " || fail "$program's refusal does not start with its name"
done
# Defaults are shown.
"$bin/avrion-host" --help | grep -q -- "--frames N:INT in \[0 - 100000000\]=18" || fail "avrion-host --help hides the default of --frames"

# Quiet where nothing is wrong: no sound card asked for, no font missing.
unset ALSOFT_CONF
for sound in --no-sound "" --check; do
    out=$("$bin/avrion-scenario" "$scenario" --sim-root "$sim_root" --bitmaps "$sim_root/../module/resources/bitmaps" $sound --output "$TMPDIR_OWN/run" 2>"$TMPDIR_OWN/err")
    [ -s "$TMPDIR_OWN/err" ] && fail "avrion-scenario $sound printed: $(cat "$TMPDIR_OWN/err")"
    grep -q "message box" <<<"$out" && fail "avrion-scenario $sound made the module show a message box"
done
exit "$failed"
