// Replays on the page: a game played there is kept (best and last), its link
// plays it back in the page and on fingulp-sim to the same last screen, and a
// damaged link is refused with a notice while the game plays on.
import assert from 'node:assert/strict';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { execFileSync } from 'node:child_process';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { after, before, test } from 'node:test';
import * as h from './harness.mjs';

let server, browser;
before(async () => { [server, browser] = await Promise.all([h.serve(), h.launch()]); });
after(async () => { await browser?.close(); await server?.close(); });

const status = (page) => page.evaluate(() => document.querySelector(document.body.classList.contains('watching') ? '#watch-status' : '#replay-status').textContent);

test('a game played on the page, shared as a link, plays back in the page and on fingulp-sim to the same last screen', async () => {
  const page = await h.openPage(browser, server.url);
  await h.runInPage(page, 'key enter\nhold left 600\nhold up 600\nkey 6\nhold down 400\nwait 30000');
  const played = await h.canvasPixels(page);
  const kept = await page.evaluate(() => [localStorage.getItem('fingulp:replay:last'),
                                          localStorage.getItem('fingulp:replay:best')]);
  assert.ok(kept[0], 'the last game is kept');
  assert.equal(kept[1], kept[0], 'the only game is the best');
  // The only game is the best and the last: one button, with its fish.
  assert.ok(await page.isVisible('#share-best') && await page.isVisible('#watch-best') && !await page.isVisible('#watch-last'));
  assert.match(await page.locator('#watch-best').textContent(), /^Watch best gamethe last too, \d+ fish, /);
  assert.deepEqual(page.errors, []);

  // Watching it opens the page on the game's link.
  const watcher = page;
  await Promise.all([watcher.waitForEvent('load'), watcher.click('#watch-best')]);
  assert.equal(await watcher.evaluate(() => location.hash), `#replay=${kept[0]}`);
  await h.started(watcher);
  for (let i = 0; i < 200 && (await status(watcher)) !== 'The replay has ended.'; ++i) await h.advance(watcher, 500);
  assert.equal(await status(watcher), 'The replay has ended.');
  assert.deepEqual(h.differingRows(await h.canvasPixels(watcher), played), []);
  assert.deepEqual(watcher.errors, []);

  const folder = mkdtempSync(path.join(tmpdir(), 'fingulp-web-replay-'));
  try {
    writeFileSync(path.join(folder, 'link.txt'), `${server.url}#replay=${kept[0]}\n`);
    const out = execFileSync(h.simPath, ['--replay', path.join(folder, 'link.txt'), '--verify',
                                         '--shot', path.join(folder, 'last.png')], { encoding: 'utf8' });
    assert.match(out, /^replay ending=starved /m);
    const shot = await h.pngPixels(watcher, readFileSync(path.join(folder, 'last.png')));
    assert.deepEqual(h.differingRows(shot, played), []);
  } finally {
    rmSync(folder, { recursive: true, force: true });
  }
  await watcher.close();
});

test('a damaged link, or one longer than any game\'s, is refused with a notice and the game plays as usual', async () => {
  const links = [['RkdSAQ', /^This replay cannot be played: the header is cut short\.$/, '#replay=RkdSAQ'],
                 // Longer than the limit: refused before the program reads it, and out of the address.
                 ['A'.repeat(131073), /^This replay cannot be played: the link is longer than any game's \(over 131072 characters\)\.$/, '']];
  for (const [text, notice, hash] of links) {
    const page = await h.openPage(browser, `${server.url}#replay=${text}`);
    const { states } = await h.runInPage(page, 'state state');
    assert.match(await status(page), notice);
    assert.deepEqual(states, ['state=MainMenu']);
    assert.equal(await page.evaluate(() => location.hash), hash);
    await page.close();
  }
});
