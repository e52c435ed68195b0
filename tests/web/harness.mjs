// What the web tests share: the site served on 127.0.0.1, Debian's chromium
// driven by playwright-core, pages whose errors fail the test, the test
// page's clock, the canvas read back, and fingulp-sim run on the same input.
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, writeFileSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';

const here = path.dirname(fileURLToPath(import.meta.url));
export const repo = path.resolve(here, '../..');
export const siteDir = process.env.FINGULP_SITE || path.join(repo, 'build-web/site-test');
export const simPath = process.env.FINGULP_SIM || path.join(repo, 'build/fingulp-sim');

const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
                '.png': 'image/png', '.webmanifest': 'application/manifest+json' };

// A static server for one folder; resolves to { url, close }.
export function serve(root = siteDir) {
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
    response.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream',
                              'Cache-Control': 'no-store' });
    response.end(body);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve({
    url: `http://127.0.0.1:${server.address().port}/`,
    close: () => new Promise((done) => { server.closeAllConnections(); server.close(done); }),
  })));
}

export function launch() {
  return chromium.launch({ executablePath: process.env.FINGULP_CHROMIUM || '/usr/bin/chromium',
                           args: ['--autoplay-policy=no-user-gesture-required'] });
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
export async function started(page) {
  await page.waitForFunction(() => window.Module && Module.testClock && Module.testClock.deadline() >= 0);
}

// Runs the program's blocking waits (sleeps, sounds, cards) to their end, as
// the headless handset does between two script lines.
export async function settle(page) {
  await page.evaluate(() => {
    for (let guard = 0; guard < 10000; ++guard) {
      const deadline = Module.testClock.deadline();
      if (Module.testClock.readingInput() || deadline < 0) return;
      Module.testClock.advance(deadline - Module.testClock.now());
    }
    throw new Error('the program never waited for input');
  });
}

export async function advance(page, ms) {
  await page.evaluate((n) => Module.testClock.advance(n), ms);
  await settle(page);
}

export async function state(page) {
  const line = await page.evaluate(() => `time=${Module.testClock.now()} ` + Module.testClock.state());
  return Object.fromEntries(line.split(' ').filter(Boolean).map((pair) => pair.split('=')));
}

// The canvas as RGBA bytes.
export async function canvasPixels(page) {
  return Buffer.from(await page.evaluate(() => {
    const canvas = document.getElementById('screen');
    return Array.from(canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data);
  }));
}

// A PNG decoded by the browser, as RGBA bytes.
export async function pngPixels(page, file) {
  return Buffer.from(await page.evaluate(async (b64) => {
    const blob = await (await fetch('data:image/png;base64,' + b64)).blob();
    const image = await createImageBitmap(blob);
    const canvas = new OffscreenCanvas(image.width, image.height);
    const context = canvas.getContext('2d');
    context.drawImage(image, 0, 0);
    return Array.from(context.getImageData(0, 0, image.width, image.height).data);
  }, readFileSync(file).toString('base64')));
}

// Rows of the 176-pixel-wide pictures where they differ.
export function differingRows(a, b) {
  const rows = [];
  for (let y = 0; y < 220; ++y) {
    if (Buffer.compare(a.subarray(y * 704, (y + 1) * 704), b.subarray(y * 704, (y + 1) * 704)) !== 0) rows.push(y);
  }
  return rows;
}

// --- The headless handset on the same input -------------------------------------
// Runs `script` in a fresh folder; returns the folder (shots are written there).
export function runSim(script, folder = mkdtempSync(path.join(tmpdir(), 'fingulp-web-'))) {
  writeFileSync(path.join(folder, 'input.sim'), script);
  execFileSync(simPath, ['--exe-dir', folder, path.join(folder, 'input.sim')], { cwd: folder, stdio: 'pipe' });
  return folder;
}
