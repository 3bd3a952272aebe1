#!/usr/bin/env python3
# What avrion-scenario leaves a person and CI, run by run: the report page
# and JUnit file beside each run (the JUnit read by Debian's junitparser, as
# CI systems read it), a reference picture written, held, and failing with a
# difference image when one gauge differs, several scenarios in one call with
# an index and the worst exit status, and bad input refused before the first
# frame without touching what an earlier run left. The report pages these
# runs leave are opened in chromium by tests/browser/report_page_test.mjs.
#
# usage: run_report_tests.py AVRION_SCENARIO SIM_ROOT BITMAPS SOURCE_DIR OUTPUT_DIR
import hashlib
import json
import pathlib
import re
import shutil
import subprocess
import sys

from junitparser import JUnitXml

program, sim_root, bitmaps, source, output = sys.argv[1:6]
source = pathlib.Path(source)
out = pathlib.Path(output)
shutil.rmtree(out, ignore_errors=True)
flights = out / 'flights'
bad = out / 'bad'
flights.mkdir(parents=True)
bad.mkdir()
passed = failed = 0


def check(condition, what, detail=''):
    global passed, failed
    print(f"{'ok' if condition else 'FAILED'}: {what}")
    if not condition and detail:
        print('    ' + str(detail).strip().replace('\n', '\n    '))
    if condition:
        passed += 1
    else:
        failed += 1
    return condition


def run(*arguments):
    return subprocess.run([program, *map(str, arguments), '--sim-root', sim_root, '--bitmaps', bitmaps, '--no-sound'],
                          capture_output=True, text=True, stdin=subprocess.DEVNULL, timeout=600)


def line_of(text, fragment):
    return next(number for number, line in enumerate(text.splitlines(), 1) if fragment in line)


def junit(path):
    """Suites as a CI system reads them: (name, tests, failures, errors, [(case name, line, message)])."""
    suites = []
    for suite in JUnitXml.fromfile(str(path)):
        cases = []
        for case in suite:
            messages = [result.message for result in case.result]
            cases.append((case.name, case._elem.get('line'), messages[0] if messages else None))
        suites.append((suite.name, suite.tests, suite.failures, suite.errors, cases))
    return suites


def page_data(path):
    text = path.read_text()
    return json.loads(re.search(r'<script id="run-data" type="application/json">(.*?)</script>', text, re.S).group(1))


def files_of(folder):
    return {p.relative_to(folder): hashlib.sha256(p.read_bytes()).hexdigest() for p in folder.rglob('*') if p.is_file()}


base = (source / 'tests/report/golden_panel.yaml').read_text()
golden = flights / 'golden_panel.yaml'
golden.write_text(base)
# One breaker more on the main panel, and expectations that fail at a time, during and within an interval.
changed_text = base.replace('  - {at: 0.2, gauge: AZS_water_level, area: 1}\n',
                            '  - {at: 0.2, gauge: AZS_water_level, area: 1}\n'
                            '  - {at: 0.3, gauge: AZS_wing_lights, area: 1}\n')
changed_text = changed_text.replace('trace:\n', '  - {at: 2.0, slot: 109, value: 0}\n'
                                    '  - {during: [1.0, 2.0], slot: 109, value: 0}\n'
                                    '  - {within: [1.0, 2.0], gauge: water_lamp_1, element: 2, lamp: dark}\n'
                                    '\ntrace:\n')
changed = flights / 'changed.yaml'
changed.write_text(changed_text)
picture_line = line_of(base, 'name: panel')
changed_picture_line = line_of(changed_text, 'name: panel')

# --- A reference picture written, then held; the run's report and JUnit file.
result = run(golden, '--update-references', '--output', out / 'update')
check(result.returncode == 0 and (flights / 'golden/panel.png').is_file(), '--update-references writes the reference',
      result.stdout + result.stderr)
result = run(golden, '--output', out / 'golden')
check(result.returncode == 0, 'the same panel matches its reference', result.stdout + result.stderr)
for name in ['report.html', 'junit.xml', 'trace.csv', 'summary.txt', 'panel-window10000.png',
             'report-files/uPlot.iife.min.js', 'report-files/report.js', 'report-files/report.css']:
    check((out / 'golden' / name).is_file(), f'a run leaves {name}')
suites = junit(out / 'golden/junit.xml')
check(len(suites) == 1 and suites[0][1:4] == (5, 0, 0), 'JUnit: one suite of 4 expectations and 1 picture, all held',
      suites)

# --- One gauge differs from the reference; expectations fail at a time, during and within an interval.
result = run(changed, '--output', out / 'changed')
check(result.returncode == 1, 'a differing picture or failed expectation exits 1', result.stderr)
expected_failures = {
    changed_picture_line: rf'^{re.escape(str(changed))}:{changed_picture_line}: at 1\.500 s \(frame 27\): picture panel: (\d+) pixels '
                  r'of window 10000 differ from golden/panel\.png \(tolerance 0, threshold 0\.1\); '
                  r'actual panel-window10000\.png, difference panel-window10000-difference\.png$',
    line_of(changed_text, '{at: 2.0, slot: 109'): r'at 2\.000 s \(frame 36\): expected slot 109 = 0 \(±1e-06\), got 1$',
    line_of(changed_text, '{during: [1.0, 2.0]'):
        r'during 1\.000 s to 2\.000 s, at 1\.000 s \(frame 18\): expected slot 109 = 0 \(±1e-06\), got 1$',
    line_of(changed_text, '{within: [1.0, 2.0]'):
        r'within 1\.000 s to 2\.000 s \(frames 18 to 36\): expected water_lamp_1 element 2 dark at some frame, '
        r'but it never held; got lit \(picture 0\) at every frame$',
}
printed = [line.strip() for line in result.stdout.splitlines()]
for line, pattern in expected_failures.items():
    pattern = pattern if pattern.startswith('^') else rf'^{re.escape(str(changed))}:{line}: ' + pattern
    found = [m for m in (re.match(pattern, text) for text in printed) if m]
    check(len(found) == 1, f'the failure of line {line} is printed with its file:line', result.stdout)
differing = [int(m.group(1)) for m in (re.match(expected_failures[changed_picture_line], t) for t in printed) if m]
# One breaker of 30x60 pixels on a window of 1490x1080.
check(differing and 0 < differing[0] <= 30 * 60, f'only the breaker differs ({differing} pixels)')
for name in ['panel-window10000-difference.png', 'panel-window10000-reference.png', 'panel-window10000.png']:
    check((out / 'changed' / name).is_file(), f'a mismatch leaves {name} beside the report')
suites = junit(out / 'changed/junit.xml')
check(len(suites) == 1 and suites[0][1:4] == (8, 4, 0), 'JUnit: 7 expectations and 1 picture, 4 failing', suites)
for name, line, message in suites[0][4] if suites else []:
    if message is not None:
        check(message.startswith(f'{changed}:{line}: ') and int(line) in expected_failures,
              f'JUnit: the failure of {name!r} holds its file:line message', message)
data = page_data(out / 'changed/report.html')
check([e['passed'] for e in data['expectations']].count(False) == 3 and data['status'] == 'failed'
      and data['pictures'][0]['difference'] == 'panel-window10000-difference.png',
      'the report page holds the failures and the difference image')

# --- Several scenarios in one call (a folder): a folder each, an index, the worst exit status.
missing = flights / 'missing_reference.yaml'
missing.write_text(base.replace('golden/panel.png', 'golden/none.png'))
result = run(flights, '--output', out / 'all', '--junit', out / 'all.xml')
check(result.returncode == 2, 'several runs exit with the status of the worst (a refusal)', result.stderr)
index = page_data(out / 'all/index.html') if (out / 'all/index.html').is_file() else {'runs': []}
check([(pathlib.Path(r['file']).name, r['status'], r['link']) for r in index['runs']] ==
      [('changed.yaml', 'failed', 'changed/report.html'), ('golden_panel.yaml', 'passed', 'golden_panel/report.html'),
       ('missing_reference.yaml', 'refused', '')], 'the index lists each run, linked to its report', index['runs'])
for name in ['changed/report.html', 'golden_panel/report.html', 'changed/junit.xml']:
    check((out / 'all' / name).is_file(), f'each run has its own folder: {name}')
check(not (out / 'all/missing_reference/report.html').exists(), 'a refused run leaves no report')
for path in [out / 'all/junit.xml', out / 'all.xml']:
    suites = junit(path)
    check([s[1:4] for s in suites] == [(8, 4, 0), (5, 0, 0), (1, 0, 1)],
          f'JUnit {path.name}: a suite per scenario, the refused one as an error', suites)
missing.unlink()

# --- Bad input: refused before the first frame with file:line, leaving an earlier run's files as they were.
shutil.copy(out / 'golden/contact-sheet.png', bad / 'small.png')
before = files_of(out / 'golden')
refusals = [
    ('a missing reference picture', base.replace('golden/panel.png', 'none.png'),
     rf':{picture_line}: the reference picture none\.png \(.*none\.png\) is missing; --update-references writes it'),
    ('a reference picture of another size', base.replace('golden/panel.png', 'small.png'),
     rf':{picture_line}: the reference picture small\.png is \d+x\d+ pixels, but window 10000 is drawn 1490x1080'),
    ('an interval from after to', base.replace('trace:\n', '  - {during: [1.5, 1.0], slot: 109, value: 1}\n\ntrace:\n'),
     r':\d+: the interval runs backwards: from 1\.5 s comes after to 1 s'),
    ('an interval past the end', base.replace('trace:\n', '  - {within: [1.0, 3.0], slot: 109, value: 1}\n\ntrace:\n'),
     r":\d+: the end of the expectation's interval at 3 s lies after the end of the run \(2 s\)"),
]
for what, text, message in refusals:
    scenario = bad / 'scenario.yaml'
    scenario.write_text(text)
    result = run(scenario, '--output', out / 'golden')
    check(result.returncode == 2 and re.search(re.escape(str(scenario)) + message, result.stderr),
          f'refused: {what}', result.stderr)
    check('no frame ran' in result.stderr and files_of(out / 'golden') == before,
          f'refused before its first frame, the earlier run untouched: {what}')

# --- A JUnit path that cannot be written: told at the end; the run's own files are written all the same.
(out / 'golden/report.html').unlink()
result = run(golden, '--output', out / 'golden', '--junit', out / 'no-such-folder/junit.xml')
check(result.returncode == 1 and f'--junit: cannot write the JUnit file {out}/no-such-folder/junit.xml: '
      'No such file or directory' in result.stderr, 'an unwritable --junit path is reported and fails the run',
      result.stderr)
check((out / 'golden/report.html').is_file() and (out / 'golden/junit.xml').is_file(),
      'the report and the JUnit file beside it are written all the same')

print(f'{passed} passed, {failed} failed')
sys.exit(1 if failed else 0)
