// The index page of several scenario runs: each run's result, its
// expectations and timings, and a link to its own report page.
'use strict';
// element() and seconds() are page.js's.

const data = JSON.parse(document.getElementById('run-data').textContent);

const worst = data.runs.some(r => r.status === 'refused') ? 'refused'
  : data.runs.some(r => r.status === 'failed') ? 'failed' : 'passed';
document.title = `${data.runs.length} scenarios: ${worst}`;
document.getElementById('head').append(
  element('h1', {}, element('span', { class: `badge ${worst}`, text: worst.toUpperCase() }), ` ${data.runs.length} scenarios`));

const body = document.querySelector('#runs tbody');
let passed = 0, failed = 0, wall = 0, simulated = 0;
for (const run of data.runs) {
  passed += run.passed;
  failed += run.failed;
  wall += run.wallSeconds;
  simulated += run.simulatedSeconds;
  const name = run.name ? `${run.name} (${run.file})` : run.file;
  const why = run.status === 'refused' ? run.refusal : run.failures;
  const list = element('ul');
  for (const line of why.slice(0, 3)) list.append(element('li', { text: line }));
  if (why.length > 3) list.append(element('li', { text: `and ${why.length - 3} more` }));
  body.append(element('tr', { class: `run ${run.status}` },
    element('td', {}, element('span', { class: `badge ${run.status}`, text: run.status })),
    element('td', {}, run.link ? element('a', { href: run.link, text: name }) : name),
    element('td', { text: `${run.passed} passed, ${run.failed} failed of ${run.expectations}` }),
    element('td', { text: String(run.frames) }),
    element('td', { text: seconds(run.simulatedSeconds) }),
    element('td', { text: seconds(run.wallSeconds) }),
    element('td', { class: 'message' }, list)));
}
document.querySelector('#runs tfoot').append(element('tr', {},
  element('td'), element('td', { text: 'all' }),
  element('td', { text: `${passed} passed, ${failed} failed` }), element('td'),
  element('td', { text: seconds(simulated) }), element('td', { text: seconds(wall) }), element('td')));
