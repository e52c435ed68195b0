// The page's canvas equals fingulp-sim's screen, pixel for pixel, for the same
// input at the same points: splash, menu, Options, About, Help scrolled, the
// title picture, "Get Ready!" and game frames after held arrows.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import * as h from './harness.mjs';

// The same journey as tools/screenshots.sh: a small fish is eaten at about 16 s.
const script = `
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
hold left 200
hold left 600
hold up 600
wait 400
wait 800
hold left 800
hold down 800
hold left 600
hold right 200
hold right 400
hold down 800
hold down 600
hold left 600
hold right 800
wait 300
shot game-eaten-fish
state time score sizeClass x y
wait 11900
shot game-player-eaten
state time score alive dying
`;

let server, browser;
before(async () => { [server, browser] = await Promise.all([h.serve(), h.launch()]); });
after(async () => { await browser?.close(); await server?.close(); });

test('every screen equals the headless handset screen', async () => {
  const sim = h.runSim(script);
  const page = await h.openPage(browser, server.url);
  const web = await h.runInPage(page, script);
  assert.deepEqual(web.states, sim.states);
  assert.deepEqual(Object.keys(web.shots).sort(), Object.keys(sim.shots).sort());
  for (const [name, png] of Object.entries(sim.shots)) {
    const rows = h.differingRows(web.shots[name], await h.pngPixels(page, png));
    if (name === 'about') {
      // Only the edition's line differs: "FINGULP web" where the headless
      // handset keeps the desktop's name (its line is rows 111 to 130).
      assert.ok(rows.length > 0, 'About names the web edition');
      assert.ok(rows.every((y) => y >= 111 && y < 131), `About differs outside the edition line: rows ${rows}`);
    } else {
      assert.deepEqual(rows, [], `${name}: rows that differ`);
    }
  }
  assert.deepEqual(page.errors, []);
});
