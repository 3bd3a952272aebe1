#!/usr/bin/env bash
# What the suite covers: builds the linux-coverage preset (GCC's coverage
# counters), runs its unit, functional, scenario, report and panel tests, and
# writes a page of line and branch coverage of module/, platform/ and host/
# with gcovr (Debian's): build/linux-coverage/coverage/index.html, one page a
# file. The totals and the module's least-covered files are printed at the end.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/setup.sh
cmake --preset linux-coverage >/dev/null
cmake --build --preset linux-coverage
build=build/linux-coverage
# Counters of an earlier run would add to this one's.
find "$build" -name '*.gcda' -delete
# The named-objects stress test counts frame times, which the counters slow
# past its bounds; it covers nothing the functional tests do not.
ctest --preset linux-coverage --exclude-regex 'stress' || echo "coverage: some tests failed; the page shows what ran"

report="$build/coverage"
rm -rf "$report"
mkdir -p "$report"
filters=(--filter 'module/' --filter 'platform/' --filter 'host/')
gcovr --root . --object-directory "$build" "${filters[@]}" --exclude-unreachable-branches --exclude-throw-branches \
    --html-details "$report/index.html" --html-title "Kesta Avrion: what the tests cover" \
    --json "$report/coverage.json" --print-summary --txt "$report/summary.txt" >"$report/totals.txt"
cat "$report/totals.txt"

# The module's least-covered files, by lines.
/usr/bin/python3 - "$report/coverage.json" <<'PYTHON'
import json, sys
files = json.load(open(sys.argv[1]))["files"]
rows = []
for f in files:
    if not f["file"].startswith("module/"):
        continue
    lines = [l for l in f["lines"] if not l.get("gcovr/noncode")]
    covered = sum(1 for l in lines if l["count"] > 0)
    if lines:
        rows.append((covered / len(lines), covered, len(lines), f["file"]))
print("coverage: the module's least-covered files (lines):")
for share, covered, total, name in sorted(rows)[:8]:
    print(f"  {100 * share:5.1f} %  {covered:4d} of {total:4d}  {name}")
PYTHON
echo "coverage: $report/index.html"
