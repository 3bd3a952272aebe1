// The report page of one scenario run, drawn from the data avrion-scenario
// put in the page: the summary, every expectation on a timeline and in a
// table, a plot of every traced value (uPlot) with the expectations marked on
// it, the pictures (full size on click) and the run's sound. Everything it
// shows is beside the page, so that it opens from disk with no network.
'use strict';
// element() and seconds() are page.js's.

const run = JSON.parse(document.getElementById('run-data').textContent);
const colours = { passed: '#1f8a3b', failed: '#c62828', undecided: '#8a8f98', picture: '#2a6fdb' };

const outcome = entry => (entry.passed === true ? 'passed' : entry.passed === false ? 'failed' : 'undecided');
const title = run.name || run.file;
document.title = `${title}: ${run.status}`;

function header() {
  const head = document.getElementById('head');
  head.append(element('h1', {}, element('span', { class: `badge ${run.status}`, text: run.status.toUpperCase() }),
    ` ${title}`));
  head.append(element('p', { class: 'file', text: run.file }));
  if (run.description) head.append(element('p', { text: run.description }));
}

function summary() {
  const section = document.getElementById('summary');
  const facts = [
    ['expectations', `${run.passed} passed, ${run.failed} failed of ${run.expectations.length}`],
    ['frames', `${run.frames} at ${run.frameRate} per second`],
    ['simulated time', seconds(run.simulatedSeconds)],
    ['wall time', seconds(run.wallSeconds)],
    ['pictures', `${run.pictures.length} moments`],
    ['module', run.module],
  ];
  const table = element('table', { class: 'facts' });
  for (const [name, value] of facts) table.append(element('tr', {}, element('th', { text: name }), element('td', { text: value })));
  section.append(table);
  if (run.refusal.length) {
    section.append(element('p', { class: 'failed', text: 'The run was refused before its first frame:' }));
    section.append(element('pre', { text: run.refusal.join('\n') }));
  }
  if (run.warnings.length) {
    const list = element('ul', { class: 'warnings' });
    for (const warning of run.warnings) list.append(element('li', { text: warning }));
    section.append(element('h3', { text: 'Warnings' }), list);
  }
  if (run.summary) section.append(element('details', {}, element('summary', { text: 'summary.txt' }), element('pre', { text: run.summary })));
}

function failures() {
  const list = document.getElementById('failures');
  if (!run.failures.length) {
    document.getElementById('failures-section').hidden = true;
    return;
  }
  for (const failure of run.failures) list.append(element('li', { class: 'failure', text: failure }));
}

// A row of the table per expectation, in file order; the timeline's marks lead to them.
function expectationTable() {
  const body = document.querySelector('#expectations tbody');
  run.expectations.forEach((expect, index) => {
    const state = outcome(expect);
    const row = element('tr', { class: `expectation ${state}`, id: `expectation-${index}` },
      element('td', { class: 'mark', text: state === 'passed' ? '✓' : state === 'failed' ? '✗' : '–' }),
      element('td', { text: String(expect.line) }),
      element('td', { text: expect.when }),
      element('td', { text: expect.what }),
      element('td', { text: expect.time === undefined ? '' : seconds(expect.time) }),
      element('td', { class: 'message', text: expect.message || '' }));
    body.append(row);
  });
  document.getElementById('failed-only').addEventListener('change', event => {
    document.getElementById('expectations').classList.toggle('failed-only', event.target.checked);
  });
}

function showRow(index) {
  const row = document.getElementById(`expectation-${index}`);
  for (const other of document.querySelectorAll('tr.chosen')) other.classList.remove('chosen');
  row.classList.add('chosen');
  row.scrollIntoView({ block: 'center' });
}

// Simulator time across, a lane each for passed and failed expectations and one for pictures. Marks that would
// overlap in a lane go to rows of their own below each other, up to a few.
function timeline() {
  const svgNs = 'http://www.w3.org/2000/svg';
  const width = 1000, left = 70, right = 10, rowHeight = 9, maxRows = 6, gap = 10;
  const duration = Math.max(run.duration, 1e-9);
  const x = time => left + (width - left - right) * (time / duration);
  const pack = marks => {
    const ends = [];
    for (const mark of marks) {
      let row = ends.findIndex(end => end + 6 < mark.x1);
      if (row < 0) row = ends.length < maxRows ? ends.length : ends.indexOf(Math.min(...ends));
      ends[row] = Math.max(mark.x2, ends[row] ?? -Infinity);
      mark.row = row;
    }
    return Math.max(1, ends.length);
  };
  const expectationMarks = run.expectations.map((expect, index) => ({
    expect, index, state: outcome(expect), x1: x(expect.from), x2: Math.max(x(expect.to), x(expect.from) + 2),
  })).sort((a, b) => a.x1 - b.x1);
  const lanes = [
    { name: 'passed', marks: expectationMarks.filter(m => m.state !== 'failed') },
    { name: 'failed', marks: expectationMarks.filter(m => m.state === 'failed') },
    { name: 'pictures', marks: run.pictures.map(picture => ({ picture, x1: x(picture.time) - 4, x2: x(picture.time) + 4 })) },
  ];
  let y = gap;
  for (const lane of lanes) {
    lane.top = y;
    lane.rows = pack(lane.marks);
    y += lane.rows * rowHeight + gap;
  }
  const axisY = y;
  const height = axisY + 22;
  const svg = document.createElementNS(svgNs, 'svg');
  svg.setAttribute('viewBox', `0 0 ${width} ${height}`);
  svg.setAttribute('class', 'timeline');
  const add = (tag, attributes, parent = svg) => {
    const node = document.createElementNS(svgNs, tag);
    for (const [key, value] of Object.entries(attributes)) node.setAttribute(key, value);
    parent.append(node);
    return node;
  };
  for (const lane of lanes) {
    add('rect', { x: left, y: lane.top - 2, width: width - left - right, height: lane.rows * rowHeight + 4, class: 'lane-band' });
    add('text', { x: 4, y: lane.top + 8, class: 'lane' }).textContent = lane.name;
  }
  add('line', { x1: left, x2: width - right, y1: axisY, y2: axisY, class: 'axis' });
  // About ten ticks, a round number of seconds apart (1, 2 or 5 times a power of ten).
  const rough = duration / 10, power = 10 ** Math.floor(Math.log10(rough));
  const step = [1, 2, 5, 10].map(f => f * power).find(s => s >= rough);
  for (let time = 0; time <= duration + step * 1e-9; time += step) {
    add('line', { x1: x(time), x2: x(time), y1: axisY, y2: axisY + 4, class: 'axis' });
    add('text', { x: x(time), y: axisY + 16, class: 'tick' }).textContent = `${Number(time.toPrecision(6))} s`;
  }
  const centre = (lane, mark) => lane.top + mark.row * rowHeight + rowHeight / 2;
  for (const lane of lanes.slice(0, 2)) {
    for (const mark of lane.marks) {
      const { expect, index, state } = mark;
      const cy = centre(lane, mark);
      const group = add('g', { class: `mark ${state}`, 'data-index': index });
      add('title', {}, group).textContent = `line ${expect.line}: ${expect.what} ${expect.when}` +
        (expect.message ? `\n${expect.message}` : '');
      if (expect.span === 'at') {
        add('circle', { cx: mark.x1, cy, r: 3.5, fill: colours[state] }, group);
      } else {
        add('rect', { x: mark.x1, y: cy - 3, width: mark.x2 - mark.x1, height: 6, fill: colours[state], rx: 2 }, group);
        if (expect.time !== undefined && state === 'failed')
          add('line', { x1: x(expect.time), x2: x(expect.time), y1: cy - 5, y2: cy + 5, stroke: '#000' }, group);
      }
      group.addEventListener('click', () => showRow(index));
    }
  }
  for (const mark of lanes[2].marks) {
    const { picture } = mark;
    const group = add('g', { class: 'mark picture' });
    add('title', {}, group).textContent = `picture ${picture.name} at ${seconds(picture.time)}` +
      (picture.message ? `\n${picture.message}` : '');
    add('rect', { x: mark.x1, y: centre(lanes[2], mark) - 4, width: 8, height: 8, rx: 1,
                  fill: picture.passed === false ? colours.failed : colours.picture }, group);
    group.addEventListener('click', () => document.getElementById(`picture-${picture.name}`).scrollIntoView());
  }
  document.getElementById('timeline').append(svg);
}

// Expectations about the plot's own value at their expected value; failures of any kind as red lines across.
function drawMarks(u, marks) {
  const { ctx } = u;
  const { left, top, width, height } = u.bbox;
  ctx.save();
  ctx.beginPath();
  ctx.rect(left, top, width, height);
  ctx.clip();
  const px = time => u.valToPos(time, 'x', true);
  for (const time of marks.failedTimes) {
    ctx.strokeStyle = 'rgba(198, 40, 40, 0.45)';
    ctx.lineWidth = 1;
    ctx.beginPath();
    ctx.moveTo(px(time), top);
    ctx.lineTo(px(time), top + height);
    ctx.stroke();
  }
  for (const expect of marks.own) {
    ctx.fillStyle = ctx.strokeStyle = colours[outcome(expect)];
    const hasValue = expect.expected !== null && expect.expected !== undefined;
    const y = hasValue ? u.valToPos(expect.expected, 'y', true) : top + height - 6;
    if (expect.span === 'at') {
      ctx.beginPath();
      ctx.arc(px(expect.from), y, 4 * devicePixelRatio, 0, 2 * Math.PI);
      ctx.fill();
    } else {
      ctx.lineWidth = 3 * devicePixelRatio;
      ctx.beginPath();
      ctx.moveTo(px(expect.from), y);
      ctx.lineTo(Math.max(px(expect.to), px(expect.from) + 2), y);
      ctx.stroke();
    }
  }
  ctx.restore();
}

function plots() {
  const { trace } = run;
  const note = document.getElementById('plots-note');
  const holder = document.getElementById('plots');
  const numeric = trace.columns.map((column, index) => ({ column, index })).filter(({ column }) => column.numeric);
  if (!trace.columns.length) {
    note.textContent = 'The scenario traces no values (see its trace: section).';
    return;
  }
  const texts = trace.columns.filter(column => !column.numeric).map(column => column.header);
  note.textContent = `${trace.time.length} of ${trace.rows} trace rows` +
    (texts.length ? `; not plotted (no numbers): ${texts.join(', ')}` : '') +
    '. Dots and bars: expectations about the value (green held, red failed); red lines: failures.';
  const failedTimes = [...run.expectations.filter(e => e.passed === false).map(e => e.time),
                       ...run.pictures.filter(p => p.passed === false).map(p => p.time)];
  // Two plots side by side where the page is wide enough.
  const room = holder.clientWidth || 1100;
  const width = Math.floor(Math.max(320, room >= 1000 ? (room - 32) / 2 - 4 : Math.min(1100, room)));
  for (const { column, index } of numeric) {
    const own = run.expectations.filter(expect => expect.subject === column.subject);
    const box = element('div', { class: 'plot', 'data-header': column.header });
    holder.append(box);
    const options = {
      title: column.header,
      width,
      height: 160,
      cursor: { sync: { key: 'run' } },
      scales: { x: { time: false } },
      legend: { live: true },
      series: [{ label: 'time (s)' }, { label: column.header, stroke: '#2a6fdb', width: 1.5 }],
      axes: [{}, { size: 64 }],
      hooks: { draw: [u => drawMarks(u, { own, failedTimes })] },
    };
    new uPlot(options, [trace.time, trace.values[index]], box);
  }
}

const viewer = document.getElementById('viewer');
function view(file, caption) {
  document.getElementById('viewer-image').src = file;
  document.getElementById('viewer-caption').textContent = `${caption} (click or Escape to close)`;
  viewer.hidden = false;
}
viewer.addEventListener('click', () => { viewer.hidden = true; });
document.addEventListener('keydown', event => { if (event.key === 'Escape') viewer.hidden = true; });

function thumbnail(file, caption) {
  const image = element('img', { src: file, alt: caption });
  const figure = element('figure', { class: 'thumbnail' }, image, element('figcaption', { text: caption }));
  figure.addEventListener('click', () => view(file, caption));
  return figure;
}

function pictures() {
  const holder = document.getElementById('pictures');
  if (!run.pictures.length && !run.contactSheet) {
    holder.append(element('p', { text: 'No pictures were taken.' }));
    return;
  }
  for (const picture of run.pictures) {
    const card = element('div', { class: `picture ${picture.passed === false ? 'failed' : ''}`, id: `picture-${picture.name}` });
    card.append(element('h3', { text: `${picture.name} at ${seconds(picture.time)} (line ${picture.line})` }));
    if (picture.reference) {
      let verdict;
      if (picture.rewritten) verdict = `reference ${picture.reference} written anew`;
      else if (picture.passed === false) verdict = picture.message;
      else verdict = `window ${picture.window} matches ${picture.reference} (${picture.differing} pixels differ, tolerance ${picture.tolerance})`;
      card.append(element('p', { class: picture.passed === false ? 'failed' : 'passed', text: verdict }));
      if (picture.passed === false) {
        const compare = element('div', { class: 'row' });
        if (picture.referenceCopy) compare.append(thumbnail(picture.referenceCopy, `reference ${picture.reference}`));
        const actual = picture.windows.find(w => w.window === picture.window);
        if (actual) compare.append(thumbnail(actual.file, `actual ${actual.file}`));
        if (picture.difference) compare.append(thumbnail(picture.difference, `difference ${picture.difference}`));
        card.append(compare);
      }
    }
    // The other windows shown at the moment (the one compared is above when it differs).
    const row = element('div', { class: 'row' });
    for (const window of picture.windows) {
      if (picture.passed === false && window.window === picture.window) continue;
      row.append(thumbnail(window.file, `window ${window.window}: ${window.file}`));
    }
    card.append(row);
    holder.append(card);
  }
  if (run.contactSheet) {
    holder.append(element('div', { class: 'picture' }, element('h3', { text: 'Every gauge at the end' }),
      element('div', { class: 'row' }, thumbnail(run.contactSheet, run.contactSheet))));
  }
}

function sound() {
  const holder = document.getElementById('sound');
  if (!run.sound) {
    holder.append(element('p', { text: 'No sound was recorded.' }));
    return;
  }
  holder.append(element('audio', { controls: '', preload: 'metadata', src: run.sound }),
    element('p', {}, element('a', { href: run.sound, text: run.sound }),
      ' (in simulator time; its seconds are those of the timeline)'));
}

header();
summary();
failures();
expectationTable();
timeline();
plots();
pictures();
sound();
