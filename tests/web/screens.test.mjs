// The page's canvas equals fingulp-sim's screen, pixel for pixel, for the same
// input at the same points: splash, menu, Options, About, Help scrolled, the
// title picture, "Get Ready!" and game frames after held arrows; and the state
// lines of a whole game are the same.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';
import * as h from './harness.mjs';

// Through every screen of the menus to the first frame of a game.
const screens = `
shot-while-blocked splash
shot menu
key down
key enter
key down
key right
shot options
soft left
key down
key enter
shot about
soft right
key down
key enter
key down
shot help-scrolled
soft right
soft left
shot title
key enter
key up
key up
key up
shot-while-blocked get-ready
key enter
shot game-start
`;

// A whole game of the end-to-end scripts, with shots after held arrows (a
// small fish eaten) and at its end.
const game = readFileSync(path.join(h.repo, 'tests/e2e/starvation.sim'), 'utf8')
  .replace('state score sizeClass satiety\n', 'state score sizeClass satiety\nshot game-eaten-fish\n')
  .replace('wait 30000\n', 'wait 30000\nshot game-over\n');
assert.equal(game.match(/^shot /gm)?.length, 2, 'the game script has changed: place its shots again');

let server, browser;
before(async () => { [server, browser] = await Promise.all([h.serve(), h.launch()]); });
after(async () => { await browser?.close(); await server?.close(); });

async function compare(script, name) {
  const sim = h.runSim(script);
  const page = await h.openPage(browser, server.url);
  const web = await h.runInPage(page, script);
  assert.deepEqual(web.states, sim.states);
  assert.deepEqual(Object.keys(web.shots).sort(), Object.keys(sim.shots).sort());
  for (const [shot, png] of Object.entries(sim.shots)) {
    const rows = h.differingRows(web.shots[shot], await h.pngPixels(page, png));
    if (shot === 'about') {
      // Only the edition's line differs: "FINGULP web" where the headless
      // handset keeps the desktop's name (its line is rows 111 to 130).
      assert.ok(rows.length > 0, 'About names the web edition');
      assert.ok(rows.every((y) => y >= 111 && y < 131), `About differs outside the edition line: rows ${rows}`);
    } else {
      assert.deepEqual(rows, [], `${name}, ${shot}: rows that differ`);
    }
  }
  assert.deepEqual(page.errors, []);
  await page.context().close();
}

test('every screen equals the headless handset\'s', () => compare(screens, 'screens'));
test('a whole game plays the same, frame for frame at its shots', () => compare(game, 'starvation.sim'));
