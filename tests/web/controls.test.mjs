// The player's controls on the page: keys bound in the Keys panel play (and
// replay) as today's do, refused keys say why, the touch keys' sizes and
// sides never cover the screen, sticky arrows hold a tapped arrow, and
// damaged stored settings mean today's.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import * as h from './harness.mjs';

let server, browser;
before(async () => { [server, browser] = await Promise.all([h.serve(), h.launch()]); });
after(async () => { await browser?.close(); await server?.close(); });

// The replay of the page's last game on fingulp-sim: its last screen must be the page's.
async function replaysAlike(page, name = '') {
  const replayed = h.simReplay(await h.stored(page, 'fingulp:replay:last'), server.url);
  assert.deepEqual(h.differingRows(await h.pngPixels(page, replayed.shot), await h.canvasPixels(page)), [], name);
  return replayed;
}
const layoutClasses = (page) => page.evaluate(() => [...document.body.classList].filter((c) => /^(keys|hand)-/.test(c)).sort());

test('a game played with WASD bound in the panel replays on fingulp-sim to the arrows\' screen', async () => {
  const page = await h.openPage(browser, server.url);
  await h.started(page);
  const wasd = { up: 'KeyW', left: 'KeyA', down: 'KeyS', right: 'KeyD', enter: 'Enter' };
  await h.withKeysPanel(page, async (panel) => {
    for (const name of ['Up', 'Left', 'Down', 'Right']) {
      const code = wasd[name.toLowerCase()];
      assert.equal(await panel.add(name, () => page.keyboard.press(code)), `${code.slice(3)} now gives ${name}.`);
    }
    // Instead of the Up arrow: it does nothing any more.
    assert.equal(await panel.remove('Remove Up arrow from Up'), 'Up arrow no longer gives Up.');
  });
  const menu = await h.runInPage(page, 'key down\nstate cursor', h.boundInput(page, wasd));
  await page.keyboard.press('ArrowUp');
  const script = 'key up\nkey enter\nhold left 600\nhold up 600\nhold right 300\nhold down 400\nwait 30000';
  await h.runInPage(page, script, h.boundInput(page, wasd));
  assert.deepEqual(menu.states, h.runSim('key down\nstate cursor').states, 'S moved the cursor, the Up arrow did not');

  assert.match((await replaysAlike(page)).out, /^replay ending=starved /m);
  const arrows = h.runSim(`key down\n${script}\nshot last`).shots.last;
  assert.deepEqual(h.differingRows(await h.pngPixels(page, arrows), await h.canvasPixels(page)), []);
  await h.closeClean(page);
});

test('the panel binds keys and gamepad buttons, and refuses a key bound twice or kept by the page, with its reason', async () => {
  const page = await h.openPage(browser, 'about:blank');
  const pad = await h.gamepadInput(page);
  await page.goto(server.url);
  await h.started(page);
  const key = (code) => () => page.keyboard.press(code);
  const cases = [['Up', key('KeyW'), 'W now gives Up.'],
                 ['Action key', () => pad.key('x'), 'Gamepad X now gives Action key.'],
                 ['Left', key('KeyW'), 'W is bound already, to Up: remove it there first. Nothing changed.'],
                 ['Up', key('KeyW'), 'W is already Up\'s. Nothing changed.'],
                 ['Down', () => pad.key('x'), 'Gamepad X is bound already, to Action key: remove it there first. Nothing changed.'],
                 ['Right', key('Tab'), 'Tab moves between the page\'s controls: it cannot be bound. Nothing changed.'],
                 ['Right', key('F5'), 'F5 reloads the page: it cannot be bound. Nothing changed.'],
                 ['Right', key('ControlLeft'), 'Control Left makes the browser\'s shortcuts: it cannot be bound. Nothing changed.'],
                 ['Right', key('Escape'), 'Nothing changed.']];
  const stored = await h.withKeysPanel(page, async (panel) => {
    for (const [name, press, said] of cases) assert.equal(await panel.add(name, press), said, `${name}: ${said}`);
    assert.equal(await panel.remove('Remove Right arrow from Right'), 'Right keeps at least one keyboard key: add another first.');
    return page.evaluate((k) => JSON.parse(localStorage.getItem(k)), h.controlsKeys.keys);
  });
  assert.deepEqual([stored.keys.up, stored.buttons.action, stored.keys.right], [['ArrowUp', 'KeyW'], [0, 2], ['ArrowRight']]);
  // W and the pad's X play: Options opens.
  const script = 'key down\nkey up\nkey down\nkey enter\nstate state cursor';
  const input = { ...h.keyboardInput(page), key: (name) => (name === 'enter' ? pad.key('x') : page.keyboard.press(name === 'up' ? 'KeyW' : 'ArrowDown')) };
  assert.deepEqual((await h.runInPage(page, script, input)).states, h.runSim(script).states);
  await h.closeClean(page);
});

test('the touch keys in each size and on each side leave the screen uncovered, upright and turned, and stay after a reload', async () => {
  const overlaps = (a, b) => a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
  for (const [width, height] of [[390, 844], [844, 390], [375, 667]]) {
    // Kept games show: turned, they sit in the pad's column.
    const page = await h.openPage(browser, server.url, { beforeLoad: (p) => h.keepGames(p, h.tenMinuteReplayText(), '3', null),
      contextOptions: { viewport: { width, height }, deviceScaleFactor: 2, isMobile: true, hasTouch: true } });
    await h.started(page);
    const keyHeights = {};
    for (const hand of ['right', 'left']) {
      for (const size of ['small', 'medium', 'large']) {
        const where = `${width}x${height} ${size} ${hand}-handed`;
        await h.withKeysPanel(page, async () => {
          await page.check(`#keys-dialog input[name=touch-size][value=${size}]`);
          await page.check(`#keys-dialog input[name=touch-hand][value=${hand}]`);
        });
        const screen = await page.locator('#screen').boundingBox();
        const boxes = await Promise.all((await page.locator('#touch-keys button').all()).map((b) => b.boundingBox()));
        const games = await Promise.all((await page.locator('#replays button:visible').all()).map((b) => b.boundingBox()));
        assert.equal(boxes.length, 9, where);
        assert.ok(games.length >= 2, `${where}: kept games show`);
        const faults = boxes.flatMap((box) => [overlaps(box, screen) && 'covers the screen', games.some((g) => overlaps(box, g)) && 'covers a kept game',
          !(box.x >= 0 && box.y >= 0 && box.x + box.width <= width && box.y + box.height <= height) && 'is off the page',
          !(box.width >= 44 && box.height >= 44) && 'is under 44 px'].filter(Boolean).map((f) => `a key at ${JSON.stringify(box)} ${f}`));
        assert.deepEqual(faults, [], where);
        assert.ok(screen.width >= 176, `${where}: the screen at ${screen.width} px`);
        const up = await page.locator('#touch-keys [data-key="38"]').boundingBox();
        const middle = width > height ? screen.x + screen.width / 2 : width / 2;
        assert.equal(up.x + up.width / 2 > middle, hand === 'left', `${where}: the pad on the ${hand === 'left' ? 'right' : 'left'}`);
        keyHeights[size] = up.height;
      }
      assert.ok(keyHeights.small < keyHeights.medium && keyHeights.medium < keyHeights.large, `sizes ${JSON.stringify(keyHeights)}`);
    }
    // Kept: the next visit lays out the last choice before its first paint.
    await page.reload();
    assert.deepEqual(await layoutClasses(page), ['hand-left', 'keys-large']);
    await h.closeClean(page);
  }
});

test('with sticky arrows a tap moves the fish as a hold does, in its replay too; off, a tap is a tap', async () => {
  const taps = 'key enter\nkey left\nwait 600\nkey up\nwait 400\nkey up\nstate time x y';
  const holds = 'key enter\nhold left 600\nhold up 400\nstate time x y';
  for (const [sticky, expected] of [[true, holds], [false, taps]]) {
    const page = await h.openPage(browser, server.url);
    await h.started(page);
    await h.withKeysPanel(page, () => page.setChecked('#sticky-arrows', sticky));
    const web = await h.runInPage(page, taps);
    assert.deepEqual(web.states, h.runSim(expected).states, `sticky ${sticky}`);
    await h.runInPage(page, 'wait 30000');
    await replaysAlike(page, `sticky ${sticky}`);
    assert.equal(await h.stored(page, h.controlsKeys.sticky), sticky ? 'on' : null);
    await h.closeClean(page);
  }
});

test('damaged stored settings mean today\'s keys, touch keys and held arrows, and are kept as they were', async () => {
  const todays = (k) => JSON.stringify({ version: 1, keys: { up: ['ArrowUp'], down: ['ArrowDown'], left: ['ArrowLeft'], right: ['ArrowRight'], action: ['Enter'], 'left-soft': ['F1'], 'right-soft': ['F2'], ...k },
                                         buttons: { up: [], down: [], left: [], right: [], action: [], 'left-soft': [], 'right-soft': [] } });
  const damaged = [['not JSON', '{"version":1,', 'big right', 'yes'],
                   ['another version', JSON.stringify({ version: 2, keys: {}, buttons: {} }), 'small', 'ON'],
                   ['a key bound twice', todays({ up: ['KeyS'], down: ['KeyS'] }), 'medium middle', '1'],
                   ['a page key', todays({ down: ['Tab'] }), '', 'true'],
                   ['an unknown handset key', todays({ jump: ['KeyS'] }), 'large  left', 'on '],
                   ['a handset key without a key', todays({ down: [] }), 'huge left', 'sticky'],
                   ['not a key', todays({ down: ['<img src=x>'] }), 'x'.repeat(5000), '']];
  const script = 'key enter\nkey down\nwait 500\nstate time y';
  for (const [name, keys, touch, sticky] of damaged) {
    const page = await h.openPage(browser, server.url, { contextOptions: h.screens.upright, beforeLoad: (p) => p.addInitScript(
      ([k, values]) => Object.entries(values).forEach(([part, v]) => localStorage.setItem(k[part], v)), [h.controlsKeys, { keys, touch, sticky }]) });
    // S does nothing, the Down arrow moves the fish down for one tick, not held.
    const input = { ...h.keyboardInput(page), key: (n) => page.keyboard.press(n === 'down' ? 'KeyS' : 'Enter') };
    await h.runInPage(page, 'key down', input);
    assert.deepEqual((await h.runInPage(page, script)).states, h.runSim(script).states, name);
    assert.deepEqual(await layoutClasses(page), ['hand-right', 'keys-medium'], name);
    assert.equal(await h.withKeysPanel(page, (panel) => panel.message()), 'The keys kept in this browser were damaged: today\'s keys are in use.', name);
    assert.deepEqual(await Promise.all(Object.values(h.controlsKeys).map((k) => h.stored(page, k))), [keys, touch, sticky], `${name}: kept as it was`);
    await h.closeClean(page, name);
  }
});
