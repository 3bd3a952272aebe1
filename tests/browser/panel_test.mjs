// The live panel in a real browser (Debian's chromium, driven by
// playwright-core): the page opens with the main panel drawn; a session is
// recorded (a breaker clicked changes its picture, a held push-button lights
// its lamp, the bus switched off from the side panel darkens the lamps),
// saved, and replayed by avrion-scenario with every expectation holding; the
// module file is replaced under the running panel, by a good one and a broken
// one, and the page shows each reload. Leaves a screenshot of the whole panel
// and prints the update rate with every window shown, with and without many
// idle and half-sent connections open, and the reload time.
//
// usage: node panel_test.mjs URL OUTPUT_FOLDER AVRION_SCENARIO MODULE SIM_ROOT
// (the panel runs OUTPUT_FOLDER/module/, a copy of MODULE, and records into OUTPUT_FOLDER/recorded/)
import { chromium } from 'playwright-core';
import { spawnSync } from 'node:child_process';
import { copyFileSync, mkdirSync, mkdtempSync, readFileSync, renameSync, rmSync, writeFileSync } from 'node:fs';
import { connect } from 'node:net';
import { join } from 'node:path';
import { tmpdir } from 'node:os';

const [url, output, scenarioProgram, builtModule, simRoot] = process.argv.slice(2);
if (!url || !output || !scenarioProgram || !builtModule || !simRoot) {
  console.error('usage: node panel_test.mjs URL OUTPUT_FOLDER AVRION_SCENARIO MODULE SIM_ROOT');
  process.exit(2);
}
const panelModule = join(output, 'module', 'Kesta_Avrion_0_018.so');
mkdirSync(output, { recursive: true });

const FLIGHT_ENGINEER = 12100;
let failures = 0;
function check(condition, what) {
  console.log(`${condition ? 'ok' : 'FAILED'}: ${what}`);
  if (!condition) failures += 1;
}
const sleep = ms => new Promise(resolve => setTimeout(resolve, ms));

const profile = mkdtempSync(join(tmpdir(), 'avrion-chromium-'));
const browser = await chromium.launchPersistentContext(profile, {
  executablePath: '/usr/bin/chromium',
  headless: true,
  viewport: { width: 1800, height: 1100 },
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
         '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});

try {
  const page = browser.pages()[0] ?? await browser.newPage();
  page.on('pageerror', error => { console.log(`page error: ${error.message}`); failures += 1; });
  await page.goto(url);

  // The page is drawn once the main panel's tiles have come.
  const surface = ident => page.locator(`section.panel-window[data-ident="${ident}"] .surface`);
  await page.waitForFunction(() => window.panelStats.lastFrame > 0 &&
    [...document.querySelectorAll('section.panel-window:not(.hidden) .surface img')].every(i => i.complete && i.naturalWidth > 0));
  check(await surface(10000).isVisible(), 'the main panel is shown');

  // Where a gauge's mouse area is on the screen, from the layout the server describes.
  const description = await page.evaluate(async () => (await fetch('/api/panel')).json());
  async function areaPoint(ident, gaugeName, areaIndex) {
    const win = description.windows.find(w => w.ident === ident);
    const gauge = win.gauges.find(g => g.name === gaugeName);
    const area = gauge.areas[areaIndex];
    const box = await surface(ident).boundingBox();
    const scale = box.width / win.width;
    return { x: box.x + (area.x + area.width / 2) * scale, y: box.y + (area.y + area.height / 2) * scale };
  }
  async function gaugeShot(ident, gaugeName) {
    const win = description.windows.find(w => w.ident === ident);
    const gauge = win.gauges.find(g => g.name === gaugeName);
    const box = await surface(ident).boundingBox();
    const scale = box.width / win.width;
    return page.screenshot({ clip: { x: box.x + gauge.x * scale, y: box.y + gauge.y * scale,
                                     width: Math.max(1, gauge.width * scale), height: Math.max(1, gauge.height * scale) } });
  }
  // Waits for the page to show frames drawn after now.
  async function settle() {
    const frame = await page.evaluate(() => window.panelStats.lastFrame);
    await page.waitForFunction(f => window.panelStats.lastFrame >= f + 4, frame);
  }

  // The flight engineer's panel, opened as the simulator's key would.
  const windowBox = page.locator(`#windowList li[data-ident="${FLIGHT_ENGINEER}"] input`);
  await page.waitForFunction(() => document.querySelectorAll('#windowList input').length > 0);
  if (!(await windowBox.isChecked())) await windowBox.click();
  await surface(FLIGHT_ENGINEER).waitFor({ state: 'visible' });
  await settle();

  // What follows is recorded, from a freshly loaded module.
  const loadsBefore = Number(await page.locator('#moduleStatus').getAttribute('data-loads'));
  await page.locator('#recordStart').click();
  await page.waitForFunction(() => document.getElementById('recordStatus').dataset.state === 'recording');
  check(Number(await page.locator('#moduleStatus').getAttribute('data-loads')) === loadsBefore + 1,
        'recording starts from the module loaded afresh');
  await settle();

  // A breaker: its picture changes when clicked.
  const breakerBefore = await gaugeShot(FLIGHT_ENGINEER, 'AZS_water_level');
  const breaker = await areaPoint(FLIGHT_ENGINEER, 'AZS_water_level', 0);
  await page.mouse.click(breaker.x, breaker.y);
  await settle();
  const breakerAfter = await gaugeShot(FLIGHT_ENGINEER, 'AZS_water_level');
  check(!breakerBefore.equals(breakerAfter), 'a clicked breaker changes its picture');

  // A push-button: its lamp is lit while it is held, dark again once let go.
  const lampDark = await gaugeShot(FLIGHT_ENGINEER, 'sliv_heat_lamp');
  const button = await areaPoint(FLIGHT_ENGINEER, 'sliv_heat_check_btn', 0);
  await page.mouse.move(button.x, button.y);
  check(await surface(FLIGHT_ENGINEER).evaluate(s => s.style.cursor) === 'pointer', 'the hand cursor over a button');
  await page.mouse.down();
  await settle();
  const lampHeld = await gaugeShot(FLIGHT_ENGINEER, 'sliv_heat_lamp');
  await page.mouse.up();
  await settle();
  check(!lampHeld.equals(lampDark), 'the lamp is lit while its push-button is held');
  check((await gaugeShot(FLIGHT_ENGINEER, 'sliv_heat_lamp')).equals(lampDark), 'the lamp is dark once let go');

  // The drain-heat switch off its middle lights the lamp for good; the bus switched off darkens it.
  const drainSwitch = await areaPoint(FLIGHT_ENGINEER, 'AZS_sliv_heat', 0);
  await page.mouse.click(drainSwitch.x, drainSwitch.y);
  await settle();
  check(!(await gaugeShot(FLIGHT_ENGINEER, 'sliv_heat_lamp')).equals(lampDark), 'the drain-heat lamp is lit');
  await page.locator('#busPower').click();
  await settle();
  check((await gaugeShot(FLIGHT_ENGINEER, 'sliv_heat_lamp')).equals(lampDark), 'the lamp goes dark without bus power');

  // Saved: offered as a download and written to the folder given at start; avrion-scenario plays it back.
  await page.locator('#recordStop').click();
  const link = page.locator('#recordings a').first();
  await link.waitFor();
  const [download] = await Promise.all([page.waitForEvent('download'), link.click()]);
  const downloaded = join(output, 'downloaded.yaml');
  await download.saveAs(downloaded);
  const name = download.suggestedFilename();
  check(/^recording-.*\.yaml$/.test(name), `the download is named ${name}`);
  const text = readFileSync(downloaded, 'utf8');
  check(text === readFileSync(join(output, 'recorded', name), 'utf8'), 'the same file was written to the folder');
  const held = /gauge: "sliv_heat_check_btn".*hold: ([0-9.]+)/.exec(text);
  check(/gauge: "AZS_water_level"/.test(text) && held && Number(held[1]) > 0 &&
        /109: \[\[0, 1\], \[[0-9.]+, 0\]\]/.test(text), 'the file holds the breaker, the held button and the bus off');
  const objects = join(output, 'replay-objects');
  mkdirSync(objects, { recursive: true });
  const replay = spawnSync(scenarioProgram, [downloaded, '--module', builtModule, '--sim-root', simRoot,
                                             '--output', join(output, 'replay'), '--no-sound'],
                           { env: { ...process.env, AVRION_KERNEL_OBJECTS: objects }, encoding: 'utf8' });
  const expectations = /expectations: (\d+) passed, (\d+) failed/.exec(replay.stdout ?? '');
  console.log(`replay: ${expectations ? expectations[0] : replay.stdout + replay.stderr}`);
  check(replay.status === 0 && /result: passed/.test(replay.stdout) && expectations && Number(expectations[1]) > 50 &&
        expectations[2] === '0', 'avrion-scenario replays the recording with every expectation holding');
  await page.locator('#busPower').click();

  // The module file replaced under the running panel: as a rebuild renames it into place, broken, then rewritten
  // in place. Each reload shows on the page; the windows stay open.
  const moduleStatus = page.locator('#moduleStatus');
  const loads = async () => Number(await moduleStatus.getAttribute('data-loads'));
  const reloaded = async (after, failed) => page.waitForFunction(([count, broken]) => {
    const line = document.getElementById('moduleStatus');
    return Number(line.dataset.loads) > count && line.classList.contains('failed') === broken;
  }, [after, failed], { timeout: 20000 });
  let before = await loads();
  copyFileSync(builtModule, panelModule + '.new');
  renameSync(panelModule + '.new', panelModule);
  await reloaded(before, false);
  const state = () => page.evaluate(async () => (await fetch('/api/state')).json());
  const reloadMs = (await state()).module.reloadMs;
  check(/took \d+ ms/.test(await moduleStatus.textContent()), 'the page shows the reload and its time');
  await settle();
  check(await surface(FLIGHT_ENGINEER).isVisible(), 'the open windows stay open across a reload');
  before = await loads();
  writeFileSync(panelModule + '.new', 'not a module\n');
  renameSync(panelModule + '.new', panelModule);
  await reloaded(before, true);
  check(/did not load.*Kesta_Avrion_0_018\.so/.test(await moduleStatus.textContent()), 'a broken module shows its error');
  check((await page.evaluate(async () => (await fetch('/api/panel')).status)) === 200, 'the page is still answered');
  before = await loads();
  copyFileSync(builtModule, panelModule);
  await reloaded(before, false);
  await settle();
  console.log(`a rebuilt module is loaded again in ${reloadMs.toFixed(1)} ms (old module shut down to new pictures)`);

  // A bad request gets a clear answer and the run goes on.
  const answer = await page.evaluate(async () => {
    const response = await fetch('/api/mouse?ident=10000&x=1480&y=1075&action=press', { method: 'POST' });
    return { status: response.status, body: await response.json() };
  });
  check(answer.status === 404 && /no mouse area/.test(answer.body.error), 'a click outside every area is refused');
  await settle();

  // Every window shown while the default flight plays: how often the page shows a new frame, and what one update
  // (the state, the changed tiles fetched and decoded) costs in the page.
  // (Starting a scenario loads the module afresh, with the layout's windows as at start, so it goes first.)
  await page.locator('#scenarioFile').selectOption('default_flight.yaml');
  await page.locator('#scenarioStart').click();
  await page.waitForFunction(() => /playing/.test(document.getElementById('scenarioStatus').textContent));
  for (const item of await page.locator('#windowList input').all())
    if (!(await item.isChecked())) await item.click();
  await page.waitForFunction(() => document.querySelectorAll('section.panel-window.hidden').length === 0);
  await settle();
  await page.screenshot({ path: join(output, 'panel.png'), fullPage: true });
  // Page updates per second, the server's frames per second, one update's cost in the page and its tiles.
  const measure = () => page.evaluate(async () => {
    const take = () => ({ ...window.panelStats, at: performance.now() });
    const first = take();
    const state = async () => (await fetch('/api/state')).json();
    const serverFirst = await state();
    await new Promise(resolve => setTimeout(resolve, 5000));
    const last = take();
    const serverLast = await state();
    const updates = last.updates - first.updates;
    return {
      rate: updates * 1000 / (last.at - first.at),
      frames: (serverLast.frame - serverFirst.frame) * 1000 / (last.at - first.at),
      updateMs: (last.updateMs - first.updateMs) / updates,
      tiles: (last.tiles - first.tiles) / updates,
      serverMs: serverLast.meanPictureMs,
    };
  });
  // The same with many idle connections and half-sent requests open (the half-sent ones, refused after two seconds,
  // come back at once).
  const crowd = [];
  let crowding = true;
  const port = Number(new URL(url).port);
  const halfSent = () => {
    const socket = connect(port, '127.0.0.1', () => socket.write('GET /api/state HTTP/1.1\r\nHost: 127.0.0.1\r\nX-'));
    socket.on('error', () => {});
    socket.on('close', () => { if (crowding) crowd.push(halfSent()); });
    return socket;
  };
  for (let i = 0; i < 64; ++i) {
    const idle = connect(port, '127.0.0.1');
    idle.on('error', () => {});
    crowd.push(idle, halfSent());
  }
  await sleep(500);
  const crowded = await measure();
  crowding = false;
  for (const socket of crowd) socket.destroy();
  console.log(`every window shown, 64 idle and 64 half-sent connections open: ${crowded.rate.toFixed(1)} page ` +
              `updates per second (the server ran ${crowded.frames.toFixed(1)} frames per second)`);
  check(crowded.rate >= 15, 'at least 15 page updates per second with 128 idle and half-sent connections open');

  const measured = await measure();
  console.log(`every window shown, the default flight playing: ${measured.rate.toFixed(1)} page updates per second ` +
              `(the server ran ${measured.frames.toFixed(1)} frames per second); one page update ` +
              `${measured.updateMs.toFixed(1)} ms with ${measured.tiles.toFixed(1)} tiles fetched on average; ` +
              `the server draws, compares and encodes a frame's pictures in ${measured.serverMs.toFixed(1)} ms on average`);
  check(measured.rate >= 15, 'at least 15 page updates per second with every window shown');
  check(await page.evaluate(() => document.querySelectorAll('section.panel-window.hidden').length === 0),
        'every window was still shown');

  // The worst case, for the record: every tile of every window fetched and decoded every frame.
  await page.locator('#fullRefresh').check();
  const full = await measure();
  console.log(`every tile fetched every frame: ${full.rate.toFixed(1)} page updates per second; one page update ` +
              `${full.updateMs.toFixed(1)} ms with ${full.tiles.toFixed(1)} tiles`);
} finally {
  await browser.close();
  rmSync(profile, { recursive: true, force: true });
}
console.log(failures === 0 ? 'browser test passed' : `browser test: ${failures} failed`);
process.exit(failures === 0 ? 0 : 1);
