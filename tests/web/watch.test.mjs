// The watch screen: the transport row in the keys' place at no smaller a
// scale, the keys that drive it, the browser's history through watched
// replays, a layout that never moves when the first game ends, refused links
// that leave nothing behind, and seeking (once the program can).
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import * as h from './harness.mjs';

const game = 'key enter\nhold left 600\nhold up 600\nkey 6\nhold down 400\nwait 30000';
const sizes = {
  upright: { viewport: { width: 390, height: 844 }, deviceScaleFactor: 3, isMobile: true, hasTouch: true },
  turned: { viewport: { width: 844, height: 390 }, deviceScaleFactor: 3, isMobile: true, hasTouch: true },
  'small phone': { viewport: { width: 375, height: 667 }, deviceScaleFactor: 2, isMobile: true, hasTouch: true },
  desktop: { viewport: { width: 1280, height: 800 }, deviceScaleFactor: 1 },
};

let server, browser, kept;
before(async () => {
  [server, browser] = await Promise.all([h.serve(), h.launch()]);
  const page = await h.openPage(browser, server.url);
  await h.runInPage(page, game);
  kept = await page.evaluate(() => localStorage.getItem('fingulp:replay:last'));
  await page.context().close();
});
after(async () => { await browser?.close(); await server?.close(); });

// A page of a new browser that keeps `kept` as its best and last game.
async function pageWithGame(url, contextOptions = {}) {
  return h.openPage(browser, url, { contextOptions, beforeLoad: (p) => p.addInitScript((text) => {
    if (localStorage.getItem('fingulp:replay:best')) return;
    for (const which of ['best', 'last']) {
      localStorage.setItem(`fingulp:replay:${which}`, text);
      localStorage.setItem(`fingulp:replay:${which}-fish`, '0');
      localStorage.setItem(`fingulp:replay:${which}-date`, '2026-12-08T14:40:00.000Z');
    }
  }, kept) });
}

const screenScale = (page) => page.evaluate(() => Math.round(document.getElementById('screen').getBoundingClientRect().width *
                                                            devicePixelRatio / 176 * 1000) / 1000);
const watched = (page) => page.evaluate(() => ({ hash: location.hash.slice(0, 8), status: Module.testClock.state().split(' ')[0] }));
const visibleButtons = (page) => page.locator('main button:visible, main input:visible').evaluateAll((all) => all.map((b) => b.id));

test('the watch screen keeps the largest whole scale, never smaller than while playing', async (t) => {
  for (const [name, options] of Object.entries(sizes)) {
    const playing = await pageWithGame(server.url, options);
    await h.started(playing);
    const before = await screenScale(playing);
    const watching = await h.openPage(browser, `${server.url}#replay=${kept}`, { context: playing.context() });
    await h.started(watching);
    await h.advance(watching, 100);
    const scale = await screenScale(watching);
    t.diagnostic(`${name}: ${before} device pixels per game pixel playing, ${scale} watching`);
    assert.ok(Number.isInteger(scale) && scale >= before, `${name}: ${before}x playing, ${scale}x watching`);
    const screen = await watching.locator('#screen').boundingBox();
    const row = await watching.locator('#watch').boundingBox();
    assert.ok(row && (row.y >= screen.y + screen.height || row.x >= screen.x + screen.width), `${name}: the transport clear of the screen`);
    assert.ok(row.y + row.height <= options.viewport.height && row.x + row.width <= options.viewport.width, `${name}: the transport on the page`);
    assert.equal(await watching.locator('[data-key]:visible, #keys-line:visible').count(), 0, `${name}: no handset keys while watching`);
    assert.deepEqual([...playing.errors, ...watching.errors], [], name);
    await playing.context().close();
  }
});

test('a keyboard alone watches a kept game, pauses, changes the speed and closes', async () => {
  const page = await pageWithGame(server.url);
  await h.started(page);
  const pressed = (id) => page.evaluate((i) => document.getElementById(i).getAttribute('aria-pressed'), id);
  const tabTo = async (id) => {
    for (let i = 0; i < 12 && await page.evaluate(() => document.activeElement.id) !== id; ++i) await page.keyboard.press('Tab');
    assert.equal(await page.evaluate(() => document.activeElement.id), id);
  };
  await tabTo('watch-best');
  await Promise.all([page.waitForEvent('load'), page.keyboard.press('Enter')]);
  await h.started(page);
  await h.advance(page, 100);
  // key (or Tab to a control then Enter), then: pause pressed, speed shown, status, Slower and Faster disabled
  const steps = [
    ['Space', 'true', '1x', 'Replay paused.', true, false],
    ['Space', 'false', '1x', 'Replay playing at 1x.', true, false],
    ['+', 'false', '2x', 'Replay playing at 2x.', false, false],
    ['+', 'false', '4x', 'Replay playing at 4x.', false, false],
    ['Equal', 'false', '8x', 'Replay playing at 8x.', false, true],
    ['+', 'false', '8x', 'Replay playing at 8x.', false, true],
    ['-', 'false', '4x', 'Replay playing at 4x.', false, false],
    ['watch-pause', 'true', '4x', 'Replay paused.', false, false],
    ['watch-slower', 'true', '2x', 'Replay paused.', false, false],
  ];
  for (const [key, paused, speed, status, slowest, fastest] of steps) {
    if (key.startsWith('watch-')) {
      await tabTo(key);
      await page.keyboard.press('Enter');
    } else {
      await page.keyboard.press(key);
    }
    await h.advance(page, 50);
    assert.deepEqual([await pressed('watch-pause'), await page.locator('#watch-speed').textContent(),
                      await page.locator('#watch-status').textContent(),
                      await page.isDisabled('#watch-slower'), await page.isDisabled('#watch-faster')],
                     [paused, speed, status, slowest, fastest], key);
  }
  await Promise.all([page.waitForEvent('load'), page.keyboard.press('Escape')]);
  await h.started(page);
  assert.deepEqual(await watched(page), { hash: '', status: 'state=MainMenu' });
  assert.deepEqual(page.errors, []);
  await page.context().close();
});

test('Back leaves a watched replay and Forward returns to it', async () => {
  const page = await pageWithGame(server.url);
  await h.started(page);
  const steps = [['watch', () => page.click('#watch-best'), '#replay=', 'state=Playing'],
                 ['Back', () => page.goBack(), '', 'state=MainMenu'],
                 ['Forward', () => page.goForward(), '#replay=', 'state=Playing'],
                 ['Close', () => page.click('#watch-close'), '', 'state=MainMenu']];
  for (const [name, action, hash, status] of steps) {
    await Promise.all([page.waitForEvent('load'), action()]);
    await h.started(page);
    await h.advance(page, 4000);
    assert.deepEqual(await watched(page), { hash, status }, name);
    assert.equal(await page.isVisible('#watch'), hash !== '', name);
  }
  assert.deepEqual(page.errors, []);
  await page.context().close();
});

test('nothing moves from the page\'s load through the end of the first game', async () => {
  for (const [name, options] of Object.entries(sizes)) {
    const context = await browser.newContext({ serviceWorkers: 'block', ...options });
    await context.addInitScript(() => {
      window.testShifts = [];
      new PerformanceObserver((list) => window.testShifts.push(...list.getEntries().map((e) => e.value)))
        .observe({ type: 'layout-shift', buffered: true });
    });
    const page = await h.openPage(browser, server.url, { context });
    const screen = () => page.locator('#screen').boundingBox();
    await h.started(page);
    const first = await screen();
    await h.runInPage(page, game);
    assert.ok(await page.isVisible('#watch-best'), `${name}: the game is kept and offered`);
    await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));
    assert.deepEqual(await page.evaluate(() => window.testShifts.filter((v) => v > 0)), [], `${name}: layout shifts`);
    assert.deepEqual(await screen(), first, `${name}: the screen where it was, at its scale`);
    assert.deepEqual(page.errors, [], name);
    await context.close();
  }
});

test('a refused link leaves no replay controls and nothing of it to share', async () => {
  const links = { damaged: 'RkdSAQ', 'not a replay': 'hello', 'longer than any game': 'A'.repeat(131073) };
  for (const [name, text] of Object.entries(links)) {
    const page = await pageWithGame(`${server.url}#replay=${text}`);
    await h.started(page);
    await h.advance(page, 100);
    assert.match(await page.locator('#replay-status').textContent(), /^This replay cannot be played: /, name);
    assert.deepEqual(await visibleButtons(page), ['watch-best', 'share-best', 'files', 'keys-button'], name);
    await page.click('#files');
    assert.deepEqual(await page.locator('#kept-games span').allTextContents(), ['Best game, 0 fish', 'Last game'], name);
    assert.deepEqual(page.errors, [], name);
    await page.context().close();
  }
});

// Seeking needs the program's fingulp_watch_seek: until it has one, this test skips.
test('seeking to half a game shows the screen fingulp-sim shows at that moment', async (t) => {
  const page = await h.openPage(browser, `${server.url}#replay=${kept}`);
  await h.started(page);
  if (!await page.evaluate(() => typeof Module._fingulp_watch_seek === 'function')) {
    t.skip('this program cannot seek yet');
    await page.close();
    return;
  }
  await h.advance(page, 100);
  await page.keyboard.press('Space');
  await h.advance(page, 0);
  const total = Number(await page.locator('#watch-seek').getAttribute('max'));
  const half = Math.round(total / 100) * 50;  // on a tick
  await page.locator('#watch-seek').fill(String(half));
  await h.advance(page, 0);
  assert.equal(await page.locator('#watch-elapsed').textContent(), `${Math.floor(half / 60000)}:${String(Math.floor(half / 1000) % 60).padStart(2, '0')}`);

  // The game's start on fingulp-sim's clock, then the same script stopped there.
  const start = Number(/time=(\d+)/.exec(h.runSim('key enter\nstate time').states[0])[1]);
  const played = game.replace(/wait 30000$/, 'state time');
  const inputEnd = Number(/time=(\d+)/.exec(h.runSim(played).states[0])[1]);
  const sim = h.runSim(`${played}\nwait ${start + half - inputEnd}\nshot half`);
  assert.deepEqual(h.differingRows(await h.canvasPixels(page), await h.pngPixels(page, sim.shots.half)), []);
  assert.deepEqual(page.errors, []);
  await page.close();
});
