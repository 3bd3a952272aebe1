// The live panel page. Every picture comes from the server, which draws the
// windows with the same renderer as the host's PNG files; the page only shows
// them, polls for newer ones, and sends the mouse and the side panel's
// settings back.
'use strict';

const CURSORS = { 1: 'n-resize', 2: 's-resize', 5: 'pointer' };
const panel = { windows: new Map(), frame: -1, scale: 0.75, held: null, sideShown: -1e9, moduleLoads: null };
// Read by the browser test: updates shown, the time they took and the tiles they fetched, since the page opened.
window.panelStats = { updates: 0, updateMs: 0, tiles: 0, lastFrame: -1 };
let shownStats = { updates: 0, updateMs: 0, at: performance.now() };

function showError(message) { document.getElementById('error').textContent = message || ''; }

async function post(path, params) {
  const response = await fetch(path + '?' + new URLSearchParams(params), { method: 'POST' });
  const answer = await response.json().catch(() => ({}));
  if (!response.ok) showError(answer.error || response.statusText);
  else showError('');
  return { ok: response.ok, answer };
}

// The gauge on top at a window point, and its area there: the same walk as the server's.
function areaAt(win, x, y) {
  for (let i = win.gauges.length - 1; i >= 0; --i) {
    const gauge = win.gauges[i];
    if (x < gauge.x || y < gauge.y || x >= gauge.x + gauge.width || y >= gauge.y + gauge.height) continue;
    const index = gauge.areas.findIndex(a => x >= a.x && y >= a.y && x < a.x + a.width && y < a.y + a.height);
    if (index >= 0) return { gauge: gauge.name, index, cursor: gauge.areas[index].cursor };
  }
  return null;
}

function panelPoint(win, event) {
  const box = win.surface.getBoundingClientRect();
  return { x: (event.clientX - box.left) * win.width / box.width, y: (event.clientY - box.top) * win.height / box.height };
}

// One after another: a release sent beside its press could overtake it on another connection.
let mouseSent = Promise.resolve();
function mouse(win, point, action) {
  const params = { ident: win.ident, x: point.x.toFixed(1), y: point.y.toFixed(1), action };
  mouseSent = mouseSent.then(() => post('/api/mouse', params)).catch(() => {});
  return mouseSent;
}

function releaseHeld(action) {
  const held = panel.held;
  if (!held) return;
  panel.held = null;
  mouse(held.win, held.point, action);
}

function buildWindow(win) {
  const element = document.createElement('section');
  element.className = 'panel-window hidden';
  element.dataset.ident = win.ident;
  const header = document.createElement('header');
  header.innerHTML = '<span></span><button title="Close">×</button>';
  header.querySelector('span').textContent = `${win.title} (${win.ident})`;
  header.querySelector('button').onclick = () => post('/api/window', { ident: win.ident, shown: 0 });
  const surface = document.createElement('div');
  surface.className = 'surface';
  element.append(header, surface);
  Object.assign(win, { element, surface, tiles: [], columns: 0, rows: 0, shown: false });

  surface.addEventListener('contextmenu', event => event.preventDefault());
  surface.addEventListener('mousedown', event => {
    event.preventDefault();
    const point = panelPoint(win, event);
    if (event.button === 2) { mouse(win, point, 'right'); return; }
    if (event.button !== 0) return;
    const area = areaAt(win, point.x, point.y);
    panel.held = { win, point, area };
    mouse(win, point, 'press');
  });
  surface.addEventListener('mouseup', event => { if (event.button === 0) releaseHeld('release'); });
  surface.addEventListener('mouseleave', () => releaseHeld('leave'));
  surface.addEventListener('mousemove', event => {
    const point = panelPoint(win, event);
    const area = areaAt(win, point.x, point.y);
    surface.style.cursor = area ? (CURSORS[area.cursor] || 'default') : 'default';
    const held = panel.held;
    // Off the held area with the button down: the simulator tells the area the pointer left.
    if (held && held.win === win && (!area || !held.area || area.gauge !== held.area.gauge || area.index !== held.area.index))
      releaseHeld('leave');
  });
  return element;
}

function applyScale() {
  for (const win of panel.windows.values()) {
    win.surface.style.width = `${win.width * panel.scale}px`;
    win.surface.style.height = `${win.height * panel.scale}px`;
  }
}

// The window's tiles as the server cut them, each an image placed over its part of the window.
function layTiles(win, entry) {
  if (win.columns === entry.columns && win.rows === entry.rows) return;
  win.surface.replaceChildren();
  win.columns = entry.columns;
  win.rows = entry.rows;
  win.tiles = [];
  const side = panel.tileSide;
  for (let row = 0; row < entry.rows; ++row)
    for (let column = 0; column < entry.columns; ++column) {
      const image = document.createElement('img');
      const x = column * side, y = row * side;
      Object.assign(image.style, {
        left: `${100 * x / win.width}%`, top: `${100 * y / win.height}%`,
        width: `${100 * Math.min(side, win.width - x) / win.width}%`,
        height: `${100 * Math.min(side, win.height - y) / win.height}%`,
      });
      image.alt = '';
      win.surface.append(image);
      win.tiles.push({ image, version: -1 });
    }
}

// Fetches and decodes a changed tile before it replaces the shown one, so the panel never flickers.
async function refreshTile(win, index, version, force) {
  const tile = win.tiles[index];
  if (tile.version === version && !force) return false;
  const next = new Image();
  next.src = `/api/tile?ident=${win.ident}&tile=${index}&v=${version}&f=${panel.frame}`;
  try { await next.decode(); } catch { return false; }
  next.alt = '';
  next.style.cssText = tile.image.style.cssText;
  tile.image.replaceWith(next);
  tile.image = next;
  tile.version = version;
  return true;
}

function updateWindowList(state) {
  const list = document.getElementById('windowList');
  for (const entry of state.windows) {
    const win = panel.windows.get(entry.ident);
    let item = list.querySelector(`[data-ident="${entry.ident}"]`);
    if (!item) {
      item = document.createElement('li');
      item.dataset.ident = entry.ident;
      item.innerHTML = '<label><input type="checkbox"> <span></span></label>';
      item.querySelector('span').textContent = `${win.title} (${entry.ident})`;
      // The box keeps what was clicked until the server has answered.
      item.querySelector('input').onchange = async e => {
        item.dataset.pending = '1';
        await post('/api/window', { ident: entry.ident, shown: e.target.checked ? 1 : 0 });
        delete item.dataset.pending;
      };
      list.append(item);
    }
    if (!item.dataset.pending) item.querySelector('input').checked = entry.shown;
  }
}

function updateSide(state) {
  document.getElementById('frame').textContent = state.frame;
  document.getElementById('rate').textContent = state.frameRate;
  document.getElementById('pictureMs').textContent = (state.drawMs + state.encodeMs).toFixed(1);
  document.getElementById('pause').textContent = state.paused ? 'Run' : 'Pause';
  document.getElementById('slot10').textContent = state.slots['10'];
  document.getElementById('slot102').textContent = state.slots['102'];
  const bus = document.getElementById('busPower');
  if (document.activeElement !== bus) bus.checked = state.slots['109'] > 0;
  const messages = document.getElementById('messages');
  if (messages.childElementCount !== state.messages.length) {
    messages.replaceChildren(...state.messages.map(m => {
      const item = document.createElement('li');
      item.textContent = `[${m.caption}] ${m.text}`;
      return item;
    }));
  }
  showModule(state.module);
  showRecording(state.recording);
  const s = state.scenario;
  document.getElementById('scenarioStatus').textContent = s.state === 'none' ? 'none' :
    `${s.file}: ${s.state} at ${s.time.toFixed(1)} of ${s.duration.toFixed(1)} s, ${s.passed} expectations held`;
  const failures = document.getElementById('scenarioFailures');
  if (failures.childElementCount !== s.failures.length)
    failures.replaceChildren(...s.failures.map(f => { const li = document.createElement('li'); li.textContent = f; return li; }));
}

function showModule(module) {
  const line = document.getElementById('moduleStatus');
  line.dataset.loads = module.loads;
  line.classList.toggle('failed', !module.loaded);
  const reload = module.loads > 1 ? ` (load ${module.loads}, took ${module.reloadMs.toFixed(0)} ms)` : '';
  line.textContent = module.loaded
    ? `Module loaded at ${module.at}${reload}${module.watching ? '; loaded again when it is rebuilt' : ''}`
    : `Module did not load at ${module.at}: ${module.error}` + (module.watching ? ' — tried again when the file changes' : '');
}

function showRecording(recording) {
  const on = recording.state !== 'off';
  document.getElementById('recordStart').disabled = on;
  document.getElementById('recordMark').disabled = recording.state !== 'recording';
  document.getElementById('recordStop').disabled = recording.state !== 'recording';
  const status = document.getElementById('recordStatus');
  status.dataset.state = recording.state;
  status.textContent = recording.state === 'recording'
    ? `recording${recording.section > 1 ? ` section ${recording.section}` : ''}: ${recording.time.toFixed(1)} s, ` +
      `${recording.events} events, ${recording.marks} marks`
    : recording.state === 'stopping' ? 'stopping at the next frame' : `not recording${recording.note ? ` (${recording.note})` : ''}`;
  const list = document.getElementById('recordings');
  const names = recording.files.map(f => f.name).join('\n');
  if (list.dataset.names === names) return;
  list.dataset.names = names;
  list.replaceChildren(...recording.files.map(file => {
    const item = document.createElement('li');
    const link = document.createElement('a');
    link.href = `/api/recording?file=${encodeURIComponent(file.name)}`;
    link.download = file.name;
    link.textContent = file.name;
    item.append(link, ` (${file.events} events, ${file.expectations} expectations` +
      (file.savedTo ? `; ${file.savedTo.startsWith('/') ? 'saved to ' : ''}${file.savedTo}` : '') + ')');
    return item;
  }));
}

// A module loaded again may have other gauges, areas and window sizes.
async function refreshDescription() {
  const description = await (await fetch('/api/panel')).json();
  for (const entry of description.windows) {
    const win = panel.windows.get(entry.ident);
    if (!win) continue;
    win.gauges = entry.gauges;
    if (win.width !== entry.width || win.height !== entry.height) {
      Object.assign(win, { width: entry.width, height: entry.height, columns: 0, rows: 0 });
    }
  }
  applyScale();
}

async function poll() {
  try {
    const state = await (await fetch(`/api/state?after=${panel.frame}`)).json();
    if (state.module.loads !== panel.moduleLoads) {
      if (panel.moduleLoads !== null) await refreshDescription();
      panel.moduleLoads = state.module.loads;
    }
    // The side panel is for reading, a few times a second is plenty; the windows get every frame.
    const now = performance.now();
    if (now - panel.sideShown > 250) {
      panel.sideShown = now;
      updateWindowList(state);
      updateSide(state);
    }
    if (state.frame !== panel.frame) {
      const started = performance.now();
      panel.frame = state.frame;
      const force = document.getElementById('fullRefresh').checked;
      const loads = [];
      for (const entry of state.windows) {
        const win = panel.windows.get(entry.ident);
        win.element.classList.toggle('hidden', !entry.shown);
        win.shown = entry.shown;
        if (!entry.shown) continue;
        layTiles(win, entry);
        entry.tiles.forEach((version, index) => loads.push(refreshTile(win, index, version, force)));
      }
      const fetched = await Promise.all(loads);
      const stats = window.panelStats;
      stats.updates += 1;
      stats.updateMs += performance.now() - started;
      stats.tiles += fetched.filter(Boolean).length;
      stats.lastFrame = state.frame;
    } else {
      await new Promise(resolve => setTimeout(resolve, 100));  // paused: the server answers at once
    }
  } catch (error) {
    showError('the panel server does not answer: ' + error.message);
    await new Promise(resolve => setTimeout(resolve, 500));
  }
  setTimeout(poll, 0);
}

function showRates() {
  const stats = window.panelStats;
  const now = performance.now();
  const updates = stats.updates - shownStats.updates;
  document.getElementById('updates').textContent = (updates * 1000 / (now - shownStats.at)).toFixed(1);
  document.getElementById('updateMs').textContent = updates ? ((stats.updateMs - shownStats.updateMs) / updates).toFixed(1) : '0';
  shownStats = { updates: stats.updates, updateMs: stats.updateMs, at: now };
}

// Each variable by what it is, in the unit it is typed in, with the name a scenario gives it.
async function loadVariables() {
  const variables = await (await fetch('/api/variables')).json();
  const table = document.getElementById('variables');
  for (const variable of variables) {
    const row = table.insertRow();
    row.title = `${variable.meaning} (token ${variable.token})`;
    const label = row.insertCell();
    label.className = 'meaning';
    label.textContent = variable.label;
    const name = document.createElement('div');
    name.className = 'scenario-name';
    name.textContent = variable.name;
    label.append(name);
    const input = document.createElement('input');
    input.name = variable.name;
    input.value = variable.value;
    const unit = variable.unit || 'raw';
    input.addEventListener('change', () => post('/api/variable', { name: variable.name, value: input.value, unit }));
    row.insertCell().append(input);
    row.insertCell().textContent = variable.digits ? 'digits' : unit === 'raw' ? '' : unit;
  }
}

// What the module or a scenario did to the variables shows too; the box being typed in is left alone.
async function refreshVariables() {
  const variables = await (await fetch('/api/variables')).json().catch(() => []);
  for (const variable of variables) {
    const input = document.querySelector(`#variables input[name="${variable.name}"]`);
    if (input && document.activeElement !== input) input.value = variable.value;
  }
}

// The module's sound, mixed on the host and fetched in pieces, played a little behind so the pieces join up.
const sound = { on: false, context: null, next: null, at: 0 };

async function pumpSound() {
  if (!sound.on) return;
  try {
    const response = await fetch(sound.next === null ? '/api/sound' : `/api/sound?from=${sound.next}`);
    if (response.ok) {
      const data = new DataView(await response.arrayBuffer());
      const rate = data.getUint32(0, true), channels = data.getUint32(4, true);
      const count = (data.byteLength - 16) / 2;
      sound.next = Number(data.getBigUint64(8, true)) + count;
      const frames = channels ? count / channels : 0;
      if (frames > 0) {
        const buffer = sound.context.createBuffer(channels, frames, rate);
        for (let c = 0; c < channels; ++c) {
          const out = buffer.getChannelData(c);
          for (let i = 0; i < frames; ++i) out[i] = data.getInt16(16 + 2 * (i * channels + c), true) / 32768;
        }
        const source = sound.context.createBufferSource();
        source.buffer = buffer;
        source.connect(sound.context.destination);
        const now = sound.context.currentTime;
        if (sound.at < now + 0.02 || sound.at > now + 0.6) sound.at = now + 0.15;  // (re)start with a little lead
        source.start(sound.at);
        sound.at += frames / rate;
      }
    }
  } catch (error) { /* the next round tries again */ }
  setTimeout(pumpSound, 50);
}

function wireSound(output) {
  if (output !== 'browser') return;
  document.getElementById('soundChoice').hidden = false;
  document.getElementById('browserSound').onchange = event => {
    sound.on = event.target.checked;
    if (!sound.on) return;
    sound.context ??= new AudioContext();  // made on a click, as browsers ask
    sound.context.resume();
    sound.next = null;
    pumpSound();
  };
}

async function loadScenarios() {
  const files = await (await fetch('/api/scenarios')).json();
  document.getElementById('scenarioFile').replaceChildren(...files.map(f => new Option(f, f)));
}

function wireSide() {
  document.getElementById('pause').onclick = e =>
    post('/api/clock', { action: e.target.textContent === 'Pause' ? 'pause' : 'run' });
  document.getElementById('scale').onchange = e => { panel.scale = Number(e.target.value); applyScale(); };
  document.getElementById('busPower').onchange = e => post('/api/slot', { slot: 109, value: e.target.checked ? 1 : 0 });
  document.getElementById('slotForm').onsubmit = e => {
    e.preventDefault();
    post('/api/slot', { slot: document.getElementById('slotNumber').value, value: document.getElementById('slotValue').value });
  };
  document.getElementById('scenarioStart').onclick = () =>
    post('/api/scenario', { action: 'start', file: document.getElementById('scenarioFile').value });
  document.getElementById('scenarioRestart').onclick = () => post('/api/scenario', { action: 'restart' });
  document.getElementById('scenarioStop').onclick = () => post('/api/scenario', { action: 'stop' });
  for (const action of ['start', 'mark', 'stop'])
    document.getElementById(`record${action[0].toUpperCase()}${action.slice(1)}`).onclick = () => post('/api/record', { action });
  // A button released outside every window still ends the press.
  window.addEventListener('mouseup', event => { if (event.button === 0) releaseHeld('release'); });
}

async function start() {
  const description = await (await fetch('/api/panel')).json();
  panel.tileSide = description.tileSide;
  wireSound(description.sound);
  const container = document.getElementById('windows');
  for (const win of description.windows) {
    panel.windows.set(win.ident, win);
    container.append(buildWindow(win));
  }
  applyScale();
  wireSide();
  await Promise.all([loadVariables(), loadScenarios()]);
  setInterval(showRates, 1000);
  setInterval(refreshVariables, 1000);
  poll();
}

start();
