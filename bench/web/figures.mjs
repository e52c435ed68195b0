// The web edition's figures (a benchmark, not a test): the page's weight, raw
// and gzipped; the time from navigation to the first frame and to the main
// menu in headless chromium; and the cost of a game tick in the browser
// against the same yardstick as the native benchmarks, one copy of a whole
// 176 x 220 x 4-byte frame; and the CPU the browser's processes use while the
// page idles in the menu, while a game plays, and for a blank page, read from
// /proc over SECONDS each (Linux only). After a web build (tools/test.sh or
// tools/web.sh):
//   node bench/web/figures.mjs [RUNS] [SECONDS]
import { existsSync, readdirSync, readFileSync } from 'node:fs';
import path from 'node:path';
import { gzipSync } from 'node:zlib';
import * as h from '../../tests/web/harness.mjs';

const runs = Number(process.argv[2] || 5);
const cpuSeconds = Number(process.argv[3] || 20);
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const kb = (bytes) => (bytes / 1024).toFixed(1).padStart(7);

// --- Page weight ---------------------------------------------------------------
console.log('file                    raw KB  gzip KB');
let raw = 0, gzip = 0;
for (const name of readdirSync(h.shippedSiteDir).sort()) {
  const bytes = readFileSync(path.join(h.shippedSiteDir, name));
  const packed = gzipSync(bytes, { level: 9 }).length;
  raw += bytes.length;
  gzip += packed;
  console.log(`${name.padEnd(22)} ${kb(bytes.length)}  ${kb(packed)}`);
}
console.log(`${'all'.padEnd(22)} ${kb(raw)}  ${kb(gzip)}`);

const browser = await h.launch();

// --- First frame and main menu, in real time on the shipped page -----------------
const shipped = await h.serve(h.shippedSiteDir);
const probe = await browser.newPage();
const menu = [...await h.pngPixels(probe, h.runSim('shot menu').shots.menu)];
await probe.close();
const first = [], atMenu = [];
for (let run = 0; run < runs; ++run) {
  const context = await browser.newContext({ serviceWorkers: 'block' });
  // Every frame the page shows is timed from navigation; the menu is the
  // first frame equal to the headless handset's.
  await context.addInitScript((expected) => {
    window.frames_ = { first: null, menu: null };
    const put = CanvasRenderingContext2D.prototype.putImageData;
    CanvasRenderingContext2D.prototype.putImageData = function (image, ...rest) {
      put.call(this, image, ...rest);
      const now = performance.now();
      if (window.frames_.first === null) window.frames_.first = now;
      if (window.frames_.menu === null && image.data.every((v, i) => v === expected[i])) window.frames_.menu = now;
    };
  }, menu);
  const page = await context.newPage();
  await page.goto(shipped.url);
  await page.waitForFunction(() => window.frames_.menu !== null, null, { timeout: 30000 });
  const times = await page.evaluate(() => window.frames_);
  first.push(times.first);
  atMenu.push(times.menu);
  await context.close();
}
await shipped.close();
console.log(`\nfirst frame: median ${median(first).toFixed(0)} ms of ${runs} (${first.map((t) => t.toFixed(0)).join(', ')})`);
console.log(`main menu:   median ${median(atMenu).toFixed(0)} ms of ${runs} (the program's own waits are 5000 ms)`);

// --- A game tick in the browser -----------------------------------------------------
const testSite = await h.serve(h.siteDir);
const page = await h.openPage(browser, testSite.url);
await h.runInPage(page, 'key enter\nwait 1000');
const figures = await page.evaluate((ticks) => {
  const time = (work, times) => { const t0 = performance.now(); for (let i = 0; i < times; ++i) work(); return performance.now() - t0; };
  // The yardstick: the median of 31 batches of 2000 frame copies.
  const from = new Uint8Array(176 * 220 * 4).fill(7), to = new Uint8Array(176 * 220 * 4);
  const batches = [];
  for (let b = 0; b < 31; ++b) batches.push(time(() => to.set(from), 2000) / 2000);
  batches.sort((a, b) => a - b);
  const copy = batches[15];
  // The tick, and within it the canvas's share (putImageData).
  let shown = 0;
  const context = document.getElementById('screen').getContext('2d');
  const put = context.putImageData;
  context.putImageData = function (...args) { const t0 = performance.now(); put.apply(this, args); shown += performance.now() - t0; };
  const tick = time(() => Module.testClock.advance(50), ticks) / ticks;
  context.putImageData = put;
  return { copy, tick, shown: shown / ticks };
}, 1000);
await testSite.close();
console.log(`\nyardstick (one frame copy): ${(figures.copy * 1e6).toFixed(0)} ns`);
const line = (what, ms) => console.log(`${what.padEnd(48)} ${(ms * 1e3).toFixed(1).padStart(6)} us = ${(ms / figures.copy).toFixed(1)} x copy`);
line('game tick (frame drawn and put on the canvas)', figures.tick);
line('  of which putImageData', figures.shown);

// --- CPU while the page runs -------------------------------------------------------
// Each case in a browser of its own: the CPU time of its renderers and of its
// audio service over the same stretch of real time, as a share of one core.
const processes = () => readdirSync('/proc').filter((p) => /^\d+$/.test(p)).map((pid) => {
  try {
    const stat = readFileSync(`/proc/${pid}/stat`, 'utf8'), fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
    return { pid, parent: fields[1], ticks: Number(fields[11]) + Number(fields[12]),
             command: readFileSync(`/proc/${pid}/cmdline`, 'utf8').split('\0').join(' ') };
  } catch { return null; }
}).filter(Boolean);
// The browser's processes by kind: every descendant of the one started with `tag`.
function browserProcesses(tag) {
  const all = processes(), mine = new Set(all.filter((p) => p.command.includes(tag)).map((p) => p.pid));
  for (let grew = true; grew;) {
    grew = false;
    for (const p of all) if (!mine.has(p.pid) && mine.has(p.parent)) { mine.add(p.pid); grew = true; }
  }
  const kind = (p) => (p.command.includes('--type=renderer') ? 'renderer'
                       : p.command.includes('AudioService') ? 'audio' : 'other');
  return all.filter((p) => mine.has(p.pid)).map((p) => ({ ...p, kind: kind(p) }));
}
async function cpu(what, prepare) {
  const tag = `--fingulp-figures=${process.pid}-${what.length}`;
  const own = await h.launch([tag]);
  const page = await (await own.newContext({ serviceWorkers: 'block' })).newPage();
  await prepare(page);
  await page.waitForTimeout(3000);  // the browser's own start-up work done
  const before = browserProcesses(tag);
  await page.waitForTimeout(cpuSeconds * 1000);
  const after = browserProcesses(tag);
  const share = (kind) => {
    const ticks = after.filter((p) => p.kind === kind)
      .reduce((sum, p) => sum + p.ticks - (before.find((q) => q.pid === p.pid)?.ticks ?? 0), 0);
    return `${(ticks / cpuSeconds).toFixed(2).padStart(5)} %`;  // 100 ticks a second
  };
  const audio = after.some((p) => p.kind === 'audio') ? share('audio') : '   none';
  console.log(`${what.padEnd(34)} renderer ${share('renderer')}, audio service ${audio}`);
  await own.close();
}
await browser.close();
if (existsSync('/proc/self/stat')) {
  console.log(`\nCPU over ${cpuSeconds} s (one core = 100 %):`);
  const shippedAgain = await h.serve(h.shippedSiteDir);
  await cpu('blank page', (page) => page.goto('about:blank'));
  await cpu('menu, idle (Sound off)', async (page) => {
    await page.goto(shippedAgain.url);
    await page.waitForTimeout(6000);  // past the program's own waits
  });
  await cpu('a game (Sound off)', async (page) => {
    await page.goto(shippedAgain.url);
    await page.waitForTimeout(6000);
    await page.keyboard.press('Enter');
    await page.waitForTimeout(4000);  // past "Get Ready!"
  });
  await shippedAgain.close();
}
