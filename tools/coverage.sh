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

# Each folder's figures, and the module's least-covered files.
/usr/bin/python3 - "$report/coverage.json" <<'PYTHON'
import json, sys

def figures(entries):
    lines = [l for f in entries for l in f["lines"] if not l.get("gcovr/noncode")]
    branches = [b for l in lines for b in l.get("branches", [])]
    return (sum(1 for l in lines if l["count"] > 0), len(lines),
            sum(1 for b in branches if b["count"] > 0), len(branches))

def share(part, whole):
    return 100.0 * part / whole if whole else 100.0

files = json.load(open(sys.argv[1]))["files"]
print("coverage:   folder     lines              branches")
for folder in ("module", "platform", "host"):
    lines, of_lines, branches, of_branches = figures([f for f in files if f["file"].startswith(folder + "/")])
    print(f"  {folder:9s} {share(lines, of_lines):5.1f} % of {of_lines:5d}   {share(branches, of_branches):5.1f} % of {of_branches:5d}")
rows = []
for f in files:
    if f["file"].startswith("module/"):
        lines, of_lines, branches, of_branches = figures([f])
        rows.append((share(branches, of_branches), share(lines, of_lines), of_branches, f["file"]))
print("coverage: the module's least-covered files (branches, lines):")
for branches, lines, of_branches, name in sorted(rows)[:6]:
    print(f"  {branches:5.1f} % of {of_branches:4d} branches, {lines:5.1f} % of lines  {name}")
PYTHON
echo "coverage: $report/index.html"
