// The page as a player meets it: touch keys on a phone, vibration, the saved
// config.ini, a second tab, the page hidden. Each case plays the same script
// on the page and on fingulp-sim and compares what both report.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';
import * as h from './harness.mjs';

const e2e = (name) => readFileSync(path.join(h.repo, 'tests/e2e', name));
const phone = { viewport: { width: 390, height: 844 }, deviceScaleFactor: 3, isMobile: true, hasTouch: true };

let server, browser;
before(async () => { [server, browser] = await Promise.all([h.serve(), h.launch()]); });
after(async () => { await browser?.close(); await server?.close(); });

async function newContext(options = {}) {
  return browser.newContext({ serviceWorkers: 'block', ...options });
}

test('touch keys on a phone: taps and holds move the cursor and the fish, a tap on a caption is its soft key', async () => {
  const context = await newContext(phone);
  const page = await h.openPage(browser, server.url, { context });
  const script = `key down
state cursor
key down
key up
state cursor
soft left
state state
key enter
key up
soft right
state state
hold right 500
hold down 300
state time state x y
down left
wait 250
up left
wait 250
state time x y`;
  const web = await h.runInPage(page, script, await h.touchInput(page));
  assert.deepEqual(web.states, h.runSim(script).states);

  // Laid out for a thumb: every key at least 44 CSS px, under a crisp screen.
  const screen = await page.locator('#screen').boundingBox();
  const keys = await page.locator('#touch-keys button').evaluateAll((all) =>
    all.map((b) => b.getBoundingClientRect()).map((r) => ({ width: r.width, height: r.height, top: r.top })));
  assert.equal(keys.length, 9, 'seven keys, Files and Keys');
  for (const key of keys) {
    assert.ok(key.width >= 44 && key.height >= 44, `a touch key of ${key.width} x ${key.height}`);
    assert.ok(key.top >= screen.y + screen.height, 'touch keys sit under the screen');
  }
  assert.equal((screen.width * 3) % 176, 0, `screen ${screen.width} CSS px wide is not a whole scale`);
  assert.deepEqual(page.errors, []);
  await context.close();
});

test('a turned phone shows the keys beside the screen at 3x or more, clear of the notch, and under it when upright', async () => {
  const phones = [['Pixel 7', 915, 412, 2.625, { left: 0, right: 0, top: 0, bottom: 0 }],
                  ['iPhone 13', 844, 390, 3, { left: 47, right: 47, top: 0, bottom: 21 }]];
  const overlaps = (a, b) => a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
  for (const [name, long, short, deviceScaleFactor, insets] of phones) {
    const context = await newContext({ viewport: { width: long, height: short }, deviceScaleFactor, isMobile: true, hasTouch: true });
    const page = await h.openPage(browser, server.url, { context, beforeLoad: async (p) =>
      (await context.newCDPSession(p)).send('Emulation.setSafeAreaInsetsOverride', { insets }) });
    const script = 'key down\nkey down\nstate cursor';
    assert.deepEqual((await h.runInPage(page, script, await h.touchInput(page))).states, h.runSim(script).states, name);
    for (const [turned, width, height] of [[true, long, short], [false, short, long]]) {
      await page.setViewportSize({ width, height });
      await page.evaluate(() => new Promise((done) => requestAnimationFrame(done)));  // past the resize event
      const screen = await page.locator('#screen').boundingBox();
      const scale = screen.width * deviceScaleFactor / 176;
      assert.ok(Math.abs(scale - Math.round(scale)) < 0.01 && Math.round(scale) >= 3, `${name}: the screen at ${scale}x`);
      for (const key of await page.locator('#touch-keys button').all()) {
        const box = await key.boundingBox(), where = `${name}: a key at ${JSON.stringify(box)}`;
        assert.ok(!overlaps(box, screen), where);
        if (turned) assert.ok(box.x >= insets.left && box.x + box.width <= width - insets.right, where);
        assert.equal(box.y >= screen.y + screen.height, !turned, `${name}: keys under the screen only when upright`);
      }
    }
    assert.deepEqual(page.errors, []);
    await context.close();
  }
});

test('storage the browser blocks or refuses gets one notice, and the game plays on', async () => {
  const refusals = {
    blocked: () => Object.defineProperty(window, 'localStorage', { get() { throw new DOMException('no', 'SecurityError'); } }),
    full: () => { Storage.prototype.setItem = () => { throw new DOMException('full', 'QuotaExceededError'); }; },
  };
  const script = 'key down\nstate cursor';
  for (const [name, refuse] of Object.entries(refusals)) {
    const context = await newContext();
    await context.addInitScript(refuse);
    const page = await h.openPage(browser, server.url, { context });
    assert.deepEqual((await h.runInPage(page, script)).states, h.runSim(script).states, name);
    assert.equal(await page.locator('#storage-notice').textContent(), 'Best scores cannot be kept in this browser.');
    assert.deepEqual(await page.locator('#status :visible').allTextContents(),
                     ['Best scores cannot be kept in this browser.'], name);
    assert.deepEqual(page.errors, [], name);
    await context.close();
  }
});

test('the end notice takes the focus, and Enter starts again', async () => {
  const page = await h.openPage(browser, server.url);
  await h.runInPage(page, 'key up\nkey enter');
  await page.waitForSelector('#notice:not([hidden])');
  const reloaded = page.waitForEvent('load');
  await page.keyboard.press('Enter');
  await reloaded;
  assert.deepEqual((await h.runInPage(page, 'state state')).states, h.runSim('state state').states);
  assert.deepEqual(page.errors, []);
  await page.context().close();
});

test('Escape and Backspace are the left soft key, as on the desktop', async () => {
  const script = 'key down\nkey enter\nstate state\nsoft left\nstate state cursor';
  const expected = h.runSim(script).states;
  for (const back of ['Escape', 'Backspace']) {
    const page = await h.openPage(browser, server.url);
    const input = { ...h.keyboardInput(page), soft: (side) => page.keyboard.press(side === 'left' ? back : 'F2') };
    assert.deepEqual((await h.runInPage(page, script, input)).states, expected, back);
    assert.deepEqual(page.errors, []);
    await page.context().close();
  }
});

test('a gamepad plays as on the desktop: d-pad, A the action key, B and Start the soft keys', async () => {
  const page = await h.openPage(browser, 'about:blank');
  const input = await h.gamepadInput(page);
  await page.goto(server.url);
  const script = 'key down\nkey enter\nkey right\nstate state cursor\nsoft left\nstate state cursor\nsoft right\nstate state';
  assert.deepEqual((await h.runInPage(page, script, input)).states, h.runSim(script).states);
  assert.deepEqual(page.errors, []);
  await page.context().close();
});

test('auto-repeat while the key click plays moves the cursor one item, as fingulp-sim and the desktop do', async () => {
  const script = 'key down\nstate cursor';
  const config = e2e('options.config.in');  // Sound on: keys click
  const page = await h.openPage(browser, server.url, { beforeLoad: (p) => h.seedConfig(p, config) });
  const input = { ...h.keyboardInput(page), key: async () => {
    await page.keyboard.down('ArrowDown');
    assert.equal(await page.evaluate(() => Module.testClock.readingInput()), false, 'the click blocks the program');
    await page.keyboard.down('ArrowDown');  // held: the browser's repeats
    await page.keyboard.down('ArrowDown');
    await page.keyboard.up('ArrowDown');
  } };
  assert.deepEqual((await h.runInPage(page, script, input)).states, h.runSim(script, config).states);
  assert.deepEqual(page.errors, []);
  await page.context().close();
});

test('the touch keys stay hidden without a touch screen', async () => {
  const page = await h.openPage(browser, server.url);
  await h.started(page);
  assert.deepEqual(await page.locator('#touch-keys [data-key]').evaluateAll((keys) => keys.map((k) => k.checkVisibility())),
                   Array(7).fill(false));
  assert.deepEqual(page.errors, []);
  await page.context().close();
});

test('the fish eaten vibrates the phone and stop cancels it; sounds play; all at the headless handset\'s times', async () => {
  const context = await newContext(phone);
  const config = e2e('hard_game.config.in');
  await context.addInitScript(() => {
    window.vibrations = [];
    navigator.vibrate = (pattern) => { window.vibrations.push([Module.testClock.now(), pattern]); return true; };
    window.sounds = [];
    const start = AudioBufferSourceNode.prototype.start;
    AudioBufferSourceNode.prototype.start = function (...args) { window.sounds.push(Module.testClock.now()); return start.apply(this, args); };
  });
  const page = await h.openPage(browser, server.url, { context, beforeLoad: (p) => h.seedConfig(p, config) });
  const script = 'key enter\nhold down 2000\nwait 30000\nsoft left\nstate state';
  const web = await h.runInPage(page, script);
  const sim = h.runSim(script, config);
  assert.deepEqual(web.states, sim.states);
  // The handset's stops while it is still are not passed on.
  const expected = [...sim.log.matchAll(/^(\d+) vibrate (start|stop)$/gm)]
    .map(([, time, what]) => [Number(time), what === 'start' ? 10000 : 0])
    .filter(([, pattern], i, all) => i === 0 ? pattern > 0 : pattern !== all[i - 1][1]);
  assert.ok(expected.some(([, pattern]) => pattern > 0), 'the script makes the handset vibrate');
  assert.deepEqual(await page.evaluate(() => window.vibrations), expected);
  // Sound is allowed from the first key on, whose click is the first sound.
  const sounds = [...sim.log.matchAll(/^(\d+) sound (?:start|play) /gm)].map(([, time]) => Number(time));
  assert.ok(sounds.length >= 3, 'the script plays sounds');
  assert.deepEqual(await page.evaluate(() => window.sounds), sounds);
  assert.deepEqual(page.errors, []);
  await context.close();
});

test('no sound device runs with Sound off, nor once the sounds have ended', async () => {
  for (const [name, config, made] of [['Sound off', null, 0], ['Sound on', e2e('hard_game.config.in'), 1]]) {
    const context = await newContext();
    await context.addInitScript(() => {
      window.audioContexts = [];
      window.AudioContext = class extends AudioContext {
        constructor(...args) { super(...args); window.audioContexts.push(this); }
      };
    });
    const page = await h.openPage(browser, server.url, { context, beforeLoad: (p) => config && h.seedConfig(p, config) });
    await h.runInPage(page, 'key down\nkey up\nkey down');  // menu clicks
    assert.equal(await page.evaluate(() => window.audioContexts.length), made, name);
    await page.waitForFunction(() => window.audioContexts.every((c) => c.state === 'suspended'), null, { timeout: 5000 });
    assert.deepEqual(page.errors, []);
    await context.close();
  }
});

test('Exit keeps config.ini in local storage and a reload reads it back', async () => {
  const context = await newContext();
  const config = e2e('options.config.in');
  const script = readFileSync(path.join(h.repo, 'tests/e2e/options.sim'), 'utf8');
  const page = await h.openPage(browser, server.url, { context, beforeLoad: (p) => h.seedConfig(p, config) });
  const web = await h.runInPage(page, script);
  const sim = h.runSim(script, config);
  assert.deepEqual(web.states, sim.states);
  await page.waitForSelector('#notice:not([hidden])');
  assert.match(await page.locator('#notice-text').textContent(), /has ended/);
  assert.deepEqual(await h.storedConfig(page), sim.config);

  // Start again: the switches and best scores come back from the browser.
  await page.click('#restart');
  const again = await h.runInPage(page, 'state switches bestScores');
  assert.deepEqual(again.states, h.runSim('state switches bestScores', sim.config).states);
  assert.deepEqual(page.errors, []);
  await context.close();
});

test('a page restored from the back/forward cache starts afresh', async () => {
  const page = await h.openPage(browser, server.url);
  await h.runInPage(page, 'key down\nwait 3000');
  const saved = await h.storedConfig(page);
  // Chromium keeps no page holding a Web Lock in that cache, so its event is sent here.
  const reloaded = page.waitForEvent('load');
  await page.evaluate(() => dispatchEvent(new PageTransitionEvent('pageshow', { persisted: true })));
  await reloaded;
  // A new program on a new clock, which reads the file the first one made.
  const script = 'state time state cursor';
  assert.deepEqual((await h.runInPage(page, script)).states, h.runSim(script, saved).states);
  assert.deepEqual(page.errors, []);
  await page.context().close();
});

test('a page closed while the menu waits for input saves as the close button does', async () => {
  const context = await newContext();
  const page = await h.openPage(browser, server.url, { context });
  // Options: Vibrate on, STORE; only a save puts it into config.ini.
  const script = 'key down\nkey enter\nkey right\nsoft right';
  await h.runInPage(page, script);
  await page.close();
  const closed = h.runSim(script + '\nclose').config;
  assert.notDeepEqual(closed, h.runSim(script).config);
  assert.deepEqual(await h.savedConfig(context, server.url, closed), closed);
  assert.deepEqual(page.errors, []);
  await context.close();
});

test('a page killed while hidden keeps a changed switch, hidden at the menu or during a blocking wait', async () => {
  // Options: Vibrate on, STORE; then hidden at the menu, or during "Get Ready!" (saved once it ends).
  const store = 'key down\nkey enter\nkey right\nsoft right';
  for (const [name, blockingKey] of [['at the menu', null], ['during a blocking wait', 'enter']]) {
    const context = await newContext();
    const page = await h.openPage(browser, server.url, { context });
    await h.runInPage(page, store);
    if (blockingKey) await h.keyboardInput(page).key(blockingKey);
    assert.equal(await page.evaluate(() => Module.testClock.readingInput()), !blockingKey, name);
    await h.setHidden(page, true);
    await h.settle(page);
    // Killed as a phone kills a hidden tab: no unload, no pagehide.
    const crashed = page.waitForEvent('crash');
    (await context.newCDPSession(page)).send('Page.crash').catch(() => {});
    await crashed;
    const closed = h.runSim(store + (blockingKey ? `\nkey ${blockingKey}` : '') + '\nclose').config;
    assert.deepEqual(await h.savedConfig(context, server.url, closed), closed, name);
    await context.close();
  }
});

test('a second tab is refused with its message, leaving the first running and its file untouched', async () => {
  const context = await newContext();
  const first = await h.openPage(browser, server.url, { context });
  await h.runInPage(first, 'key down');
  const saved = await h.storedConfig(first);
  assert.notEqual(saved, null);

  const second = await h.openPage(browser, server.url, { context });
  await second.waitForSelector('#notice:not([hidden])');
  assert.equal(await second.locator('#notice-text').textContent(), 'FINGULP is already open in another tab.');

  const web = await h.runInPage(first, 'key down\nstate state cursor');
  assert.deepEqual(web.states, ['state=MainMenu cursor=2']);
  assert.deepEqual(await h.savedConfig(context, server.url, saved), saved);
  assert.deepEqual([...first.errors, ...second.errors], []);
  await context.close();
});

test('the page hidden pauses a running game and releases held keys', async () => {
  const page = await h.openPage(browser, server.url);
  // Resumed (right soft key) after the page shows again, the fish no longer swims left.
  const script = 'key enter\nwait 1000\ndown left\nwait 200\nfocus lost\nstate time state x\nfocus gained\nsoft right\nwait 500\nstate time state x';
  const web = await h.runInPage(page, script);
  // The headless handset's script lifts the key itself where the page does.
  const sim = h.runSim(script.replace('focus lost', 'up left\nfocus lost'));
  assert.deepEqual(web.states, sim.states);
  assert.match(web.states[0], /state=Paused/);
  assert.deepEqual(page.errors, []);
  await page.context().close();
});
