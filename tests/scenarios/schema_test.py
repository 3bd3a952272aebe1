#!/usr/bin/env python3
# The JSON Schema of scenario files (host/scenario/scenario.schema.json), as
# YAML-aware editors use it: every shipped scenario and flight is valid under
# it and names it on its first line; what the scenario reader refuses for its
# form (an unknown key above all) the schema refuses too.
#
# usage: schema_test.py SOURCE_DIR   (Debian's python3-jsonschema and python3-yaml)
import json
import pathlib
import sys

import jsonschema
import yaml

root = pathlib.Path(sys.argv[1]).resolve()
schema_path = root / 'host/scenario/scenario.schema.json'
schema = json.loads(schema_path.read_text())
jsonschema.Draft7Validator.check_schema(schema)
validator = jsonschema.Draft7Validator(schema)
passed = failed = 0


def check(condition, what):
    global passed, failed
    print(f"{'ok' if condition else 'FAILED'}: {what}")
    if condition:
        passed += 1
    else:
        failed += 1


def as_json(node):
    """YAML as an editor hands it to the schema: mapping keys (slot numbers) as strings."""
    if isinstance(node, dict):
        return {str(key): as_json(value) for key, value in node.items()}
    if isinstance(node, list):
        return [as_json(value) for value in node]
    return node


def faults(text):
    return [error.message for error in validator.iter_errors(as_json(yaml.safe_load(text)))]


shipped = sorted([*root.glob('tests/scenarios/*.yaml'), *root.glob('sim/flights/*.yaml'), *root.glob('tests/report/*.yaml')])
check(len(shipped) >= 5, f'{len(shipped)} shipped scenario files found')
for path in shipped:
    name = path.relative_to(root)
    text = path.read_text()
    errors = faults(text)
    check(not errors, f'{name} is valid' + ''.join(f'\n    {e}' for e in errors[:5]))
    first = text.splitlines()[0] if text else ''
    prefix = '# yaml-language-server: $schema='
    named = first.startswith(prefix) and (path.parent / first[len(prefix):].strip()).resolve() == schema_path
    check(named, f'{name} names the schema on its first line')

refused = [
    ('an unknown top-level key', 'name: a\nclicks: []\n'),
    ('an unknown key in settings', 'settings: {frame_rate: 18, speed: 2}\n'),
    ('an unknown variable', 'variables: {groundspeed: 3}\n'),
    ('a unit of another variable', 'variables: {fuel: {unit: km/h, value: 3}}\n'),
    ('both a value and keys', 'variables: {fuel: {value: 1, keys: [[0, 1]]}}\n'),
    ('a slot beyond 115', 'slots: {116: 1}\n'),
    ('a slot value that is no number', 'slots: {109: hot}\n'),
    ('a mouse event with an area and a point', 'mouse: [{at: 1, gauge: ITV, area: 1, point: [3, 4]}]\n'),
    ('a held right button', 'mouse: [{at: 1, gauge: ITV, area: 1, button: right, hold: 1}]\n'),
    ('an unknown key in a picture', 'pictures: [{at: 1, name: a, referense: a.png}]\n'),
    ('a tolerance without a reference picture', 'pictures: [{at: 1, name: a, tolerance: 3}]\n'),
    ('a threshold beyond 1', 'pictures: [{at: 1, name: a, reference: a.png, threshold: 2}]\n'),
    ('an unknown key in an expectation', 'expect: [{at: 1, slot: 3, value: 0, tolerence: 1}]\n'),
    ('an expectation at a time and over an interval', 'expect: [{at: 1, within: [1, 2], window: 1, shown: true}]\n'),
    ('an expectation with no time', 'expect: [{window: 1, shown: true}]\n'),
    ('an interval of three times', 'expect: [{during: [1, 2, 3], window: 1, shown: true}]\n'),
    ('an expectation about a slot and a window', 'expect: [{at: 1, slot: 102, window: 3, value: 1}]\n'),
    ('a tolerance with a text', 'expect: [{at: 1, gauge: ITV, element: 2, text: a, tolerance: 1}]\n'),
    ('a lamp neither lit nor dark', 'expect: [{at: 1, gauge: ITV, element: 2, lamp: on}]\n'),
    ('a trace column of an unknown variable', 'trace: [groundspeed]\n'),
    ('an unknown key in a trace column', 'trace: {columns: [{slot: 10, lable: x}]}\n'),
]
for what, text in refused:
    check(bool(faults(text)), f'refused: {what}')

accepted = [
    ('keys, units and a jump', 'variables:\n  token4: [[0, 0], [1, 0], [1, 1]]\n'
                               '  ground_speed: {unit: km/h, keys: [[0, 280], [1.0, 280]]}\n'
                               '  latitude: {unit: deg, value: 55.97}\n  transponder_code: 2000\n'),
    ('a busy slot and a step list', 'slots:\n  109: 1\n  70: [[0, 0], [3.0, busy], [3.5, 0]]\n'),
    ('not-a-number expected', 'expect: [{at: 1, slot: 3, value: .nan}]\n'),
    ('intervals', 'expect:\n  - {during: [1, 2], gauge: SSOS_lamp, element: 2, lamp: lit}\n'
                  '  - {within: [1, 2], gauge: test, element: 2, value: 35.4, tolerance: 0.01}\n'),
    ('a reference picture', 'pictures: [{at: 1, name: a, reference: g/a.png, window: 11241, tolerance: 5, threshold: 0.2}]\n'),
    ('trace as a list of columns', 'trace: [on_ground, {variable: ground_speed, unit: km/h}, {gauge: test, element: 2, text: true}]\n'),
]
for what, text in accepted:
    errors = faults(text)
    check(not errors, f'accepted: {what}' + ''.join(f'\n    {e}' for e in errors[:3]))

print(f'{passed} passed, {failed} failed')
sys.exit(1 if failed else 0)
