// What the web tests share: the site served on 127.0.0.1, Debian's chromium
// driven by playwright-core, pages whose errors fail the test, the test
// page's clock, the canvas read back, and fingulp-sim run on the same input.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync, rmSync, statSync, writeFileSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { isDeepStrictEqual } from 'node:util';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';

const here = path.dirname(fileURLToPath(import.meta.url));
export const repo = path.resolve(here, '../..');
export const siteDir = process.env.FINGULP_SITE || path.join(repo, 'build-web/site-test');
export const shippedSiteDir = process.env.FINGULP_SHIPPED_SITE || path.join(repo, 'build-web/site');
export const simPath = process.env.FINGULP_SIM || path.join(repo, 'build/fingulp-sim');

const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
                '.png': 'image/png', '.webmanifest': 'application/manifest+json' };

// A static server for one folder; resolves to { url, close }. Its answers are
// never cached, unless `cacheable`: then they carry the file's modification
// time, as most static servers do, and the browser may keep them.
export function serve(root = siteDir, { cacheable = false } = {}) {
  const server = createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname).replace(/^\/+/, '') || 'index.html';
    const file = path.join(root, path.normalize(name));
    let body;
    try {
      if (!file.startsWith(root + path.sep)) throw new Error('outside');
      body = readFileSync(file);
    } catch {
      response.writeHead(404).end();
      return;
    }
    const modified = statSync(file).mtime;
    if (cacheable && new Date(request.headers['if-modified-since']) >= new Date(modified.toUTCString())) {
      response.writeHead(304).end();
      return;
    }
    response.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream',
                              ...(cacheable ? { 'Last-Modified': modified.toUTCString() } : { 'Cache-Control': 'no-store' }) });
    response.end(body);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve({
    url: `http://127.0.0.1:${server.address().port}/`,
    close: () => new Promise((done) => { server.closeAllConnections(); server.close(done); }),
  })));
}

export function launch(args = []) {
  return chromium.launch({ executablePath: process.env.FINGULP_CHROMIUM || '/usr/bin/chromium',
                           args: ['--autoplay-policy=no-user-gesture-required', ...args] });
}

// A page whose page errors and console errors are collected; `errors` must
// stay empty. Service workers are kept out unless a test asks for them.
export async function openPage(browser, url, options = {}) {
  const context = options.context || await browser.newContext({ serviceWorkers: 'block', ...options.contextOptions });
  const page = await context.newPage();
  page.errors = [];
  page.on('pageerror', (e) => page.errors.push(`page error: ${e.message}`));
  page.on('console', (m) => { if (m.type() === 'error') page.errors.push(`console error: ${m.text()}`); });
  if (options.beforeLoad) await options.beforeLoad(page);
  await page.goto(url);
  return page;
}

// --- The test page's clock -----------------------------------------------------
// The browser drops input that comes before the page's first paint: the
// test's input waits for that as well as for the program.
export async function started(page) {
  await page.waitForFunction(() => window.Module && Module.testClock && Module.testClock.deadline() >= 0 &&
                                   performance.getEntriesByType('paint').some((e) => e.name === 'first-contentful-paint'));
}

// Runs the program's blocking waits (sleeps, sounds, cards) to their end, as
// the headless handset does between two script lines; `onBlocked(ms)` sees
// each blocking wait first. An answer the program awaits from the browser is
// given real time to come (10 s) before its limit passes on the clock.
export async function settle(page, onBlocked = async () => {}) {
  for (let guard = 0; guard < 10000; ++guard) {
    const [reading, asking, deadline, now] = await page.evaluate(() =>
      [Module.testClock.readingInput(), Module.testClock.asking(), Module.testClock.deadline(), Module.testClock.now()]);
    if (asking) {
      const answered = await page.waitForFunction(() => !Module.testClock.asking(), null, { timeout: 10000 })
        .then(() => true, () => false);
      if (answered) continue;
    }
    if (reading || deadline < 0) return;
    await onBlocked(deadline - now);
    await page.evaluate((n) => Module.testClock.advance(n), deadline - now);
  }
  throw new Error('the program never waited for input');
}

export async function advance(page, ms) {
  await page.evaluate((n) => Module.testClock.advance(n), ms);
  await settle(page);
}

// The program's state line as the runner's `state NAMES` prints it.
export async function state(page, names = '') {
  const line = await page.evaluate(() => `time=${Module.testClock.now()} ` + Module.testClock.state());
  return selectState(line, names);
}

function selectState(line, names) {
  if (!names) return line;
  const pairs = line.split(' ');
  return names.split(/\s+/).map((name) => pairs.find((p) => p.startsWith(name + '=')) || `${name}=?`).join(' ');
}

// The canvas as RGBA bytes.
export async function canvasPixels(page) {
  return Buffer.from(await page.evaluate(() => {
    const canvas = document.getElementById('screen');
    return Array.from(canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data);
  }));
}

// PNG bytes decoded by the browser, as RGBA bytes.
export async function pngPixels(page, png) {
  return Buffer.from(await page.evaluate(async (b64) => {
    const blob = await (await fetch('data:image/png;base64,' + b64)).blob();
    const image = await createImageBitmap(blob);
    const canvas = new OffscreenCanvas(image.width, image.height);
    const context = canvas.getContext('2d');
    context.drawImage(image, 0, 0);
    return Array.from(context.getImageData(0, 0, image.width, image.height).data);
  }, png.toString('base64')));
}

// Rows of the 176-pixel-wide pictures where they differ.
export function differingRows(a, b) {
  const rows = [];
  for (let y = 0; y < 220; ++y) {
    if (Buffer.compare(a.subarray(y * 704, (y + 1) * 704), b.subarray(y * 704, (y + 1) * 704)) !== 0) rows.push(y);
  }
  return rows;
}

// --- Saved files ------------------------------------------------------------------------
export const configKey = 'fingulp:file:/fingulp/config.ini';

// Puts `bytes` as the saved config.ini of `page`'s origin before its program
// starts; a reload of the page keeps what the program saved since. (Written
// from another page, it may reach this one's renderer too late.)
export async function seedConfig(page, bytes) {
  await page.addInitScript(([key, value]) => {
    if (sessionStorage.getItem('fingulp-test-seeded')) return;
    sessionStorage.setItem('fingulp-test-seeded', '1');
    localStorage.setItem(key, value);
  }, [configKey, bytes.toString('base64')]);
}

// The saved config.ini as `page` sees it, or null.
export async function storedConfig(page) {
  const value = await page.evaluate((key) => localStorage.getItem(key), configKey);
  return value === null ? null : Buffer.from(value, 'base64');
}

// The saved config.ini as a new page of `context` sees it (read from a page
// that runs no program), or null. What another page wrote reaches it a moment
// later: it is read again until it equals `expected`, if given (5 s at most).
export async function savedConfig(context, url, expected = undefined) {
  const page = await context.newPage();
  await page.goto(url + 'manifest.webmanifest');
  let bytes = await storedConfig(page);
  for (let tries = 0; expected !== undefined && tries < 50 && !isDeepStrictEqual(bytes, expected); ++tries) {
    await page.waitForTimeout(100);
    bytes = await storedConfig(page);
  }
  await page.close();
  return bytes;
}

// --- One script, two handsets ---------------------------------------------------------
// The headless runner's script language, played in the page through real key
// events: `wait`, `key`, `hold`, `down`, `up`, `soft`, `focus`, `shot NAME`,
// `shot-while-blocked NAME` and `state NAMES`. Returns { shots, states }.
// The handset's Back key has no key in the page (Escape is the left soft key).
const keyNames = { left: 'ArrowLeft', right: 'ArrowRight', up: 'ArrowUp', down: 'ArrowDown', enter: 'Enter' };
const keyOf = (name) => {
  const key = keyNames[name] || (/^[0-9]$/.test(name) ? 'Digit' + name : null);
  if (!key) throw new Error(`no key in the page gives the handset key "${name}"`);
  return key;
};

export async function setHidden(page, hidden) {
  await page.evaluate((h) => {
    Object.defineProperty(document, 'hidden', { configurable: true, get: () => h });
    Object.defineProperty(document, 'visibilityState', { configurable: true, get: () => (h ? 'hidden' : 'visible') });
    document.dispatchEvent(new Event('visibilitychange'));
  }, hidden);
}

// Touch input through the page's touch keys and the captions on the screen,
// as a finger gives it (CDP touch events, so pointer events follow).
export async function touchInput(page) {
  const cdp = await page.context().newCDPSession(page);
  const centre = async (selector) => {
    const box = await page.locator(selector).boundingBox();
    return { x: box.x + box.width / 2, y: box.y + box.height / 2 };
  };
  const touch = (type, point) => cdp.send('Input.dispatchTouchEvent', { type, touchPoints: point ? [point] : [] });
  const keyButton = { left: 37, up: 38, right: 39, down: 40, enter: 13 };
  const input = {
    down: async (name) => touch('touchStart', await centre(`#touch-keys [data-key="${keyButton[name]}"]`)),
    up: async () => touch('touchEnd', null),
    key: async (name) => { await input.down(name); await input.up(); },
    // The left soft key by a tap on its caption, the right one by its touch key.
    soft: async (side) => {
      if (side === 'left') {
        const box = await page.locator('#screen').boundingBox();
        await touch('touchStart', { x: box.x + box.width * 40 / 176, y: box.y + box.height * 210 / 220 });
      } else {
        await touch('touchStart', await centre('#touch-keys [data-key="right"]'));
      }
      await input.up();
    },
  };
  return input;
}

// A standard-mapping gamepad, installed before the page loads: the d-pad, A,
// B (left soft key), Start (right soft key) and X (no key of today's); each
// change lasts two frames.
export async function gamepadInput(page) {
  await page.addInitScript(() => {
    window.testPad = { index: 0, connected: true, mapping: 'standard', axes: [0, 0],
                       buttons: [...Array(17)].map(() => ({ pressed: false })) };
    navigator.getGamepads = () => [window.testPad];
  });
  const buttons = { up: 12, down: 13, left: 14, right: 15, enter: 0, 'soft left': 1, 'soft right': 9, x: 2 };
  const set = (name, on) => page.evaluate(([b, pressed]) => new Promise((done) => {
    window.testPad.buttons[b].pressed = pressed;
    dispatchEvent(new Event('gamepadconnected'));
    requestAnimationFrame(() => requestAnimationFrame(done));
  }), [buttons[name], on]);
  const key = async (name) => { await set(name, true); await set(name, false); };
  return { down: (name) => set(name, true), up: (name) => set(name, false), key, soft: (side) => key('soft ' + side) };
}

export const keyboardInput = (page) => ({
  down: (name) => page.keyboard.down(keyOf(name)),
  up: (name) => page.keyboard.up(keyOf(name)),
  key: (name) => page.keyboard.press(keyOf(name)),
  soft: (side) => page.keyboard.press(side === 'left' ? 'F1' : 'F2'),
});

// `input` is the keyboard unless given (touchInput).
export async function runInPage(page, script, input = keyboardInput(page)) {
  const shots = {}, states = [];
  let armed = null;  // shot-while-blocked's name
  const onBlocked = async (ms) => {
    if (armed && ms >= 1000) {
      shots[armed] = await canvasPixels(page);
      armed = null;
    }
  };
  const lines = script.split('\n').map((l) => l.replace(/#.*/, '').trim()).filter(Boolean);
  await started(page);
  // Leading shot-while-blocked lines catch the splash, as in the runner.
  while (lines.length && lines[0].startsWith('shot-while-blocked ')) armed = lines.shift().split(/\s+/)[1];
  await settle(page, onBlocked);
  for (const line of lines) {
    const [verb, arg, ms] = line.split(/\s+/);
    if (verb === 'wait') await page.evaluate((n) => Module.testClock.advance(n), Number(arg));
    else if (verb === 'key') await input.key(arg);
    else if (verb === 'down') await input.down(arg);
    else if (verb === 'up') await input.up(arg);
    else if (verb === 'hold') {
      // Held from now for `ms`, whatever the key press itself waits.
      const until = await page.evaluate(() => Module.testClock.now()) + Number(ms);
      await input.down(arg);
      await settle(page, onBlocked);
      await page.evaluate((t) => Module.testClock.advance(Math.max(0, t - Module.testClock.now())), until);
      await input.up(arg);
    } else if (verb === 'soft') await input.soft(arg);
    else if (verb === 'focus') await setHidden(page, arg === 'lost');
    else if (verb === 'shot') shots[arg] = await canvasPixels(page);
    else if (verb === 'shot-while-blocked') armed = arg;
    else if (verb === 'state') states.push(await state(page, line.slice(6).trim()));
    else throw new Error(`unknown script line: ${line}`);
    await settle(page, onBlocked);
  }
  return { shots, states };
}

// Runs `script` on fingulp-sim in a scratch folder (with `config` as its
// config.ini when given). Returns { shots: name -> PNG bytes, states, log,
// config: the config.ini left behind, or null }.
export function runSim(script, config = null) {
  const folder = mkdtempSync(path.join(tmpdir(), 'fingulp-web-'));
  try {
    if (config !== null) writeFileSync(path.join(folder, 'config.ini'), config);
    const files = {};
    const text = script.replace(/^(shot(?:-while-blocked)?) (\S+)/gm, (all, verb, name) => {
      files[name] = path.join(folder, name + '.png');
      return `${verb} ${files[name]}`;
    });
    writeFileSync(path.join(folder, 'input.sim'), text);
    const out = execFileSync(simPath, ['--exe-dir', folder, '--log', path.join(folder, 'log.txt'),
                                       path.join(folder, 'input.sim')], { cwd: folder, encoding: 'utf8' });
    const shots = Object.fromEntries(Object.entries(files).map(([name, file]) => [name, readFileSync(file)]));
    const states = out.split('\n').filter((l) => l && l !== 'running' && !l.startsWith('exit '));
    const configFile = path.join(folder, 'config.ini');
    return { shots, states, log: readFileSync(path.join(folder, 'log.txt'), 'utf8'),
             config: existsSync(configFile) ? readFileSync(configFile) : null };
  } finally {
    rmSync(folder, { recursive: true, force: true });
  }
}

// --- Replays, files and the Keys panel -----------------------------------------------------
// Phones and a desktop the page must fit.
export const screens = {
  upright: { viewport: { width: 390, height: 844 }, deviceScaleFactor: 3, isMobile: true, hasTouch: true },
  turned: { viewport: { width: 844, height: 390 }, deviceScaleFactor: 3, isMobile: true, hasTouch: true },
  'small phone': { viewport: { width: 375, height: 667 }, deviceScaleFactor: 2, isMobile: true, hasTouch: true },
  desktop: { viewport: { width: 1280, height: 800 }, deviceScaleFactor: 1 },
};

export const stored = (page, key) => page.evaluate((k) => localStorage.getItem(k), key);

// Fails on any error of `pages` (a page or a list), then closes their browsers.
export async function closeClean(pages, name = '') {
  for (const page of [pages].flat()) assert.deepEqual(page.errors, [], name);
  for (const page of [pages].flat()) await page.context().close();
}

// Makes `target` (a page or a browser context) keep `text` as its best and
// last game, with `fish` and `date`, from its first load on.
export function keepGames(target, text, fish = '0', date = '2026-12-08T14:40:00.000Z') {
  return target.addInitScript(([t, f, d]) => {
    if (localStorage.getItem('fingulp:replay:best')) return;
    for (const which of ['best', 'last']) {
      localStorage.setItem(`fingulp:replay:${which}`, t);
      localStorage.setItem(`fingulp:replay:${which}-fish`, f);
      if (d) localStorage.setItem(`fingulp:replay:${which}-date`, d);
    }
  }, [text, fish, date]);
}

// A well-formed replay as long as a ten-minute game played busier than a thumb
// does (16,000 characters; real ten-minute games measured 5,000 to 13,000).
export function tenMinuteReplayText() {
  const varint = (n) => { const out = []; do { out.push((n & 0x7F) | (n >= 0x80 ? 0x80 : 0)); n >>>= 7; } while (n); return out; };
  const ticks = 12000, input = [];
  for (let t = 1; t <= ticks; ++t) input.push(16 + t % 4);
  const bytes = [0x46, 0x47, 0x52, 1, 2, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1, ...varint(0), ...varint(ticks),
                 ...varint(input.length), ...input];
  return Buffer.from(bytes).toString('base64url');
}

// The bytes of the file `action` makes the page download.
export async function downloaded(page, action) {
  const [download] = await Promise.all([page.waitForEvent('download'), action()]);
  return readFileSync(await download.path());
}

// Plays a replay's text on fingulp-sim (`--replay --verify`): { out, shot: its last screen's PNG }.
export function simReplay(text, url = 'http://127.0.0.1/') {
  const folder = mkdtempSync(path.join(tmpdir(), 'fingulp-web-replay-'));
  try {
    writeFileSync(path.join(folder, 'link.txt'), `${url}#replay=${text}\n`);
    const out = execFileSync(simPath, ['--replay', path.join(folder, 'link.txt'), '--verify',
                                       '--shot', path.join(folder, 'last.png')], { encoding: 'utf8' });
    return { out, shot: readFileSync(path.join(folder, 'last.png')) };
  } finally {
    rmSync(folder, { recursive: true, force: true });
  }
}

export const controlsKeys = { keys: 'fingulp:controls:keys', touch: 'fingulp:controls:touch', sticky: 'fingulp:controls:sticky' };

// Runs `action(panel)` with the Keys panel open. `panel.add(name, press)`
// clicks "Add…" for a handset key ("Up", "Action key") and runs `press()`;
// `add`, `remove(label)` and `message()` return the panel's message.
export async function withKeysPanel(page, action) {
  await page.click('#keys-button');
  const message = () => page.locator('#keys-message').textContent();
  const click = async (label) => { await page.click(`#keys-dialog button[aria-label="${label}"]`); return message(); };
  const result = await action({
    message,
    add: async (name, press) => { await click(`Add a key or gamepad button for ${name}`); await press(); return message(); },
    remove: click,
  });
  await page.click('#keys-close');
  // Enter on the focused Keys button would be the button's: the player clicks the game.
  await page.evaluate(() => document.activeElement.blur());
  return result;
}

// The script's handset keys given by other keyboard keys (`keys`: name -> code).
export const boundInput = (page, keys) => ({
  ...keyboardInput(page),
  down: (name) => page.keyboard.down(keys[name]),
  up: (name) => page.keyboard.up(keys[name]),
  key: (name) => page.keyboard.press(keys[name]),
});
