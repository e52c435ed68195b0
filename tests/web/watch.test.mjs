// The watch screen: a layout that never moves when the first game ends, the
// transport row in the keys' place at no smaller a scale, the keys that drive
// it, the browser's history, refused links that leave nothing behind, seeking.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import * as h from './harness.mjs';

const game = 'key enter\nhold left 600\nhold up 600\nkey 6\nhold down 400\nwait 30000';

let server, browser, kept;
before(async () => {
  [server, browser] = await Promise.all([h.serve(), h.launch()]);
  const page = await h.openPage(browser, server.url);
  await h.runInPage(page, game);
  kept = await h.stored(page, 'fingulp:replay:last');
  await page.context().close();
});
after(async () => { await browser?.close(); await server?.close(); });

// A page of a new browser that keeps `kept` as its best and last game.
const pageWithGame = (url, contextOptions = {}) =>
  h.openPage(browser, url, { contextOptions, beforeLoad: (p) => h.keepGames(p, kept) });
const screenScale = (page) => page.evaluate(() => Math.round(document.getElementById('screen').getBoundingClientRect().width *
                                                            devicePixelRatio / 176 * 1000) / 1000);
const watched = (page) => page.evaluate(() => ({ hash: location.hash.slice(0, 8), status: Module.testClock.state().split(' ')[0] }));

test('nothing moves from the load through the first game, and watching it keeps the largest whole scale, never smaller', async () => {
  for (const [name, contextOptions] of Object.entries(h.screens)) {
    const playing = await h.openPage(browser, server.url, { contextOptions, beforeLoad: (p) => p.addInitScript(() => {
      window.testShifts = [];
      new PerformanceObserver((list) => window.testShifts.push(...list.getEntries().map((e) => e.value)))
        .observe({ type: 'layout-shift', buffered: true });
    }) });
    const screen = () => playing.locator('#screen').boundingBox();
    await h.started(playing);
    const [first, before] = [await screen(), await screenScale(playing)];
    await h.runInPage(playing, game);
    assert.ok(await playing.isVisible('#watch-best'), `${name}: the game is kept and offered`);
    await playing.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));
    assert.deepEqual(await playing.evaluate(() => window.testShifts.filter((v) => v > 0)), [], `${name}: layout shifts`);
    assert.deepEqual(await screen(), first, `${name}: the screen where it was, at its scale`);

    const watching = await h.openPage(browser, `${server.url}#replay=${kept}`, { context: playing.context() });
    await h.started(watching);
    await h.advance(watching, 100);
    const scale = await screenScale(watching);
    assert.ok(Number.isInteger(scale) && scale >= before, `${name}: ${before}x playing, ${scale}x watching`);
    const [box, row] = [await watching.locator('#screen').boundingBox(), await watching.locator('#watch').boundingBox()];
    assert.ok(row && (row.y >= box.y + box.height || row.x >= box.x + box.width), `${name}: the transport clear of the screen`);
    assert.ok(row.y + row.height <= contextOptions.viewport.height && row.x + row.width <= contextOptions.viewport.width, `${name}: the transport on the page`);
    assert.equal(await watching.locator('[data-key]:visible, #keys-line:visible').count(), 0, `${name}: no handset keys while watching`);
    await h.closeClean([playing, watching], name);
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
    if (key.startsWith('watch-')) await tabTo(key);
    await page.keyboard.press(key.startsWith('watch-') ? 'Enter' : key);
    await h.advance(page, 50);
    assert.deepEqual([await pressed('watch-pause'), await page.locator('#watch-speed').textContent(),
                      await page.locator('#watch-status').textContent(),
                      await page.isDisabled('#watch-slower'), await page.isDisabled('#watch-faster')],
                     [paused, speed, status, slowest, fastest], key);
  }
  await Promise.all([page.waitForEvent('load'), page.keyboard.press('Escape')]);
  await h.started(page);
  assert.deepEqual(await watched(page), { hash: '', status: 'state=MainMenu' });
  await h.closeClean(page);
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
  await h.closeClean(page);
});

test('a refused link leaves no replay controls and nothing of it to share', async () => {
  const links = { damaged: 'RkdSAQ', 'not a replay': 'hello', 'longer than any game': 'A'.repeat(131073) };
  for (const [name, text] of Object.entries(links)) {
    const page = await pageWithGame(`${server.url}#replay=${text}`);
    await h.started(page);
    await h.advance(page, 100);
    assert.match(await page.locator('#replay-status').textContent(), /^This replay cannot be played: /, name);
    assert.deepEqual(await page.locator('main button:visible, main input:visible').evaluateAll((all) => all.map((b) => b.id)),
                     ['watch-best', 'share-best', 'files', 'keys-button'], name);
    await page.click('#files');
    assert.deepEqual(await page.locator('#kept-games span').allTextContents(), ['Best game, 0 fish', 'Last game'], name);
    await h.closeClean(page, name);
  }
});

test('seeking to half a game shows the screen fingulp-sim shows at that moment', async () => {
  const page = await h.openPage(browser, `${server.url}#replay=${kept}`);
  await h.started(page);
  await h.advance(page, 100);
  await page.keyboard.press('Space');
  await h.advance(page, 0);
  const total = Number(await page.locator('#watch-seek').getAttribute('max'));
  const half = Math.round(total / 100) * 50;  // on a tick
  await page.locator('#watch-seek').fill(String(half));
  await h.advance(page, 0);
  assert.equal(await page.locator('#watch-elapsed').textContent(), `${Math.floor(half / 60000)}:${String(Math.floor(half / 1000) % 60).padStart(2, '0')}`);

  // fingulp-sim's clock at the game's start and at its input's end, then the script stopped at half.
  const time = (script) => Number(/time=(\d+)/.exec(h.runSim(script).states[0])[1]);
  const played = game.replace(/wait 30000$/, 'state time');
  const sim = h.runSim(`${played}\nwait ${time('key enter\nstate time') + half - time(played)}\nshot half`);
  assert.deepEqual(h.differingRows(await h.canvasPixels(page), await h.pngPixels(page, sim.shots.half)), []);
  await h.closeClean(page);
});
