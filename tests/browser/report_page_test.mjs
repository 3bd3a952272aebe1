// avrion-scenario's report pages opened from disk in a real browser (Debian's
// chromium, driven by playwright-core), as a person opens them: no console
// error and nothing fetched that is not there; a plot for every traced value
// that holds numbers; every expectation on the timeline; a failing run's
// failures, its difference image and its pictures full size on a click; the
// default flight's pictures all matching their references and its sound
// playable; the index of several runs leading to each report. Leaves
// screenshots of the pages in OUTPUT_FOLDER.
//
// usage: node report_page_test.mjs REPORT_TEST_FOLDER DEFAULT_FLIGHT_FOLDER OUTPUT_FOLDER
import { chromium } from 'playwright-core';
import { mkdirSync, mkdtempSync, rmSync } from 'node:fs';
import { join, resolve } from 'node:path';
import { tmpdir } from 'node:os';
import { pathToFileURL } from 'node:url';

const [reportTests, defaultFlight, output] = process.argv.slice(2).map(p => p && resolve(p));
if (!reportTests || !defaultFlight || !output) {
  console.error('usage: node report_page_test.mjs REPORT_TEST_FOLDER DEFAULT_FLIGHT_FOLDER OUTPUT_FOLDER');
  process.exit(2);
}
mkdirSync(output, { recursive: true });

let passed = 0, failed = 0;
function check(condition, what, detail = '') {
  console.log(`${condition ? 'ok' : 'FAILED'}: ${what}${!condition && detail ? `\n    ${detail}` : ''}`);
  if (condition) passed += 1; else failed += 1;
}

const profile = mkdtempSync(join(tmpdir(), 'avrion-chromium-'));
const browser = await chromium.launchPersistentContext(profile, {
  executablePath: '/usr/bin/chromium',
  headless: true,
  viewport: { width: 1400, height: 1000 },
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
         '--disable-background-networking', '--disable-component-update', '--disable-sync',
         '--autoplay-policy=no-user-gesture-required'],
});

// Opens a page from disk, noting every console error, script error and failed load.
async function open(path) {
  const page = await browser.newPage();
  const problems = [];
  page.on('console', message => { if (message.type() === 'error') problems.push(`console: ${message.text()}`); });
  page.on('pageerror', error => problems.push(`script: ${error.message}`));
  // A player that has read what it needs (preload="metadata") drops the rest of the file: not a fault.
  page.on('requestfailed', request => {
    if (request.resourceType() === 'media' && request.failure()?.errorText === 'net::ERR_ABORTED') return;
    problems.push(`not loaded: ${request.url()} (${request.failure()?.errorText})`);
  });
  await page.goto(pathToFileURL(path).href, { waitUntil: 'load' });
  return { page, problems };
}

// Every picture the page shows has loaded (the full-size viewer's is empty until a click).
const picturesLoaded = page => page.evaluate(() =>
  [...document.images].filter(image => image.getAttribute('src')).every(image => image.complete && image.naturalWidth > 0));

async function reportPage(path, name) {
  const { page, problems } = await open(path);
  const facts = await page.evaluate(() => {
    const run = JSON.parse(document.getElementById('run-data').textContent);
    return {
      run,
      plots: [...document.querySelectorAll('#plots .plot')].map(p => p.dataset.header),
      canvases: document.querySelectorAll('#plots .plot canvas').length,
      marks: document.querySelectorAll('svg.timeline g.mark:not(.picture)').length,
      rows: document.querySelectorAll('#expectations tr.expectation').length,
    };
  });
  const numeric = facts.run.trace.columns.filter(c => c.numeric).map(c => c.header);
  check(numeric.length > 0 && JSON.stringify(facts.plots) === JSON.stringify(numeric) && facts.canvases >= numeric.length,
    `${name}: a plot for every traced value with numbers (${numeric.length})`, JSON.stringify(facts.plots));
  check(facts.marks === facts.run.expectations.length && facts.rows === facts.run.expectations.length,
    `${name}: every expectation on the timeline and in the table (${facts.run.expectations.length})`);
  await page.waitForFunction(() => [...document.images].every(i => i.complete));
  check(await picturesLoaded(page), `${name}: every picture loads`);
  return { page, problems, facts };
}

try {
  // A failing run: one gauge differs from its reference, expectations fail at a time, during and within.
  {
    const { page, problems, facts } = await reportPage(join(reportTests, 'changed/report.html'), 'failing run');
    check(await page.locator('.badge.failed').first().isVisible(), 'failing run: shown as failed');
    const during = facts.run.expectations.find(e => e.span === 'during' && e.passed === false);
    const row = page.locator('#expectations tr.expectation.failed', { hasText: during?.message ?? 'no such row' });
    check(during && await row.isVisible(), 'failing run: the failed interval and its file:line message in the table');
    check(await page.locator('#failures li', { hasText: 'pixels of window 10000 differ from golden/panel.png' }).isVisible(),
      'failing run: the picture mismatch among the failures');
    await page.locator('svg.timeline g.mark.failed').first().click();
    check(await page.locator('#expectations tr.chosen.failed').isVisible(), 'failing run: a failed mark leads to its row');
    const difference = page.locator('figure.thumbnail', { hasText: 'difference panel-window10000-difference.png' });
    check(await difference.isVisible(), 'failing run: the difference image beside the reference and the actual');
    await difference.click();
    const full = await page.evaluate(() => ({
      shown: !document.getElementById('viewer').hidden,
      width: document.getElementById('viewer-image').naturalWidth,
    }));
    check(full.shown && full.width === 1490, 'failing run: a click shows the picture full size', JSON.stringify(full));
    await page.keyboard.press('Escape');
    check(await page.locator('#viewer').isHidden(), 'failing run: Escape closes it');
    await page.screenshot({ path: join(output, 'report-failing.png'), fullPage: true });
    check(problems.length === 0, 'failing run: no console error, nothing missing', problems.join('\n    '));
  }

  // The default flight: its six pictures match their references, its sound plays.
  {
    const { page, problems, facts } = await reportPage(join(defaultFlight, 'report.html'), 'default flight');
    check(facts.run.status === 'passed' && facts.run.expectations.every(e => e.passed === true),
      'default flight: every expectation held');
    const references = facts.run.pictures.filter(p => p.reference);
    check(references.length === 6 && references.every(p => p.passed === true && p.differing === 0),
      'default flight: its six pictures match their references', JSON.stringify(references.map(p => p.message)));
    const duration = await page.evaluate(() => new Promise(done => {
      const audio = document.querySelector('#sound audio');
      if (!audio) return done(0);
      if (audio.readyState >= 1) return done(audio.duration);
      audio.addEventListener('loadedmetadata', () => done(audio.duration));
      audio.addEventListener('error', () => done(-1));
    }));
    check(Math.abs(duration - facts.run.duration) < 1, `default flight: the sound player holds the run's ${duration} s`);
    await page.screenshot({ path: join(output, 'report.png'), fullPage: true, clip: { x: 0, y: 0, width: 1400, height: 2100 } });
    await page.screenshot({ path: join(output, 'report-default-flight.png'), fullPage: true });
    check(problems.length === 0, 'default flight: no console error, nothing missing', problems.join('\n    '));
  }

  // Several runs: the index leads to each run's report.
  {
    const { page, problems } = await open(join(reportTests, 'all/index.html'));
    const rows = await page.locator('#runs tbody tr').count();
    check(rows === 3, `index: a row per run (${rows})`);
    check(await page.locator('#runs tr.refused', { hasText: 'is missing' }).isVisible(), 'index: why a run was refused');
    await page.locator('#runs a', { hasText: 'changed.yaml' }).click();
    await page.waitForLoadState('load');
    check(page.url().endsWith('/all/changed/report.html') && await page.locator('#plots .plot').count() > 0,
      'index: a link opens that run\'s report');
    check(problems.length === 0, 'index: no console error, nothing missing', problems.join('\n    '));
  }
} finally {
  await browser.close();
  rmSync(profile, { recursive: true, force: true });
}
console.log(`screenshots: ${output}`);
console.log(`${passed} passed, ${failed} failed`);
process.exit(failed ? 1 : 0);
