// The page's files and dialogs: the player's data (controls included) saved
// as one file and restored from it (and what a bad file changes: nothing),
// kept games saved as and opened from .fgr files or deleted, and sharing when
// the device has neither a share sheet nor a clipboard.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import * as h from './harness.mjs';

const game = 'key enter\nhold left 600\nwait 30000';
const kept = (page) => page.evaluate(() => Object.fromEntries(Object.keys(localStorage).sort().map((k) => [k, localStorage.getItem(k)])));
const message = (page) => page.locator('#files-message').textContent();

let server, browser;
before(async () => { [server, browser] = await Promise.all([h.serve(), h.launch()]); });
after(async () => { await browser?.close(); await server?.close(); });

const newPage = (contextOptions = {}, init = null) =>
  h.openPage(browser, server.url, { contextOptions, beforeLoad: (p) => init && p.addInitScript(init) });
const picked = (page, selector, buffer, name = 'fingulp-data.json', mimeType = 'application/json') =>
  page.setInputFiles(selector, { name, mimeType, buffer });

test('the player\'s data and controls saved as one file come back in another browser after a confirm listing it; bad files change nothing', async () => {
  // The browser is asked to keep storage once, at the first input after the first save.
  const page = await newPage({}, () => {
    window.persistCalls = 0;
    navigator.storage.persisted = async () => false;
    navigator.storage.persist = async () => { ++window.persistCalls; return true; };
  });
  const asked = () => page.evaluate(() => [window.persistCalls, localStorage.getItem('fingulp:storage:persisted')]);
  await h.runInPage(page, 'key down\nfocus lost\nfocus gained');
  assert.deepEqual(await asked(), [0, null], 'nothing asked before an input follows a save');
  await h.runInPage(page, `key up\n${game}\nfocus lost\nfocus gained\nkey down`);
  assert.deepEqual(await asked(), [1, 'granted']);
  await h.withKeysPanel(page, async (panel) => {
    await panel.add('Up', () => page.keyboard.press('KeyW'));
    for (const choice of ['touch-size][value=large', 'touch-hand][value=left']) await page.check(`#keys-dialog input[name=${choice}]`);
    await page.check('#sticky-arrows');
  });

  await page.click('#files');
  const file = await h.downloaded(page, () => page.click('#backup-save'));
  const backup = JSON.parse(file.toString());
  const saved = await kept(page);
  const keptGame = (w) => ({ replay: saved[`fingulp:replay:${w}`], fish: 0, date: saved[`fingulp:replay:${w}-date`] });
  assert.deepEqual([backup.format, backup.files['config.ini'], backup.games, backup.controls],
                   ['FINGULP backup', saved[h.configKey], { best: keptGame('best'), last: keptGame('last') },
                    { keys: JSON.parse(saved[h.controlsKeys.keys]), touch: 'large left', sticky: 'on' }]);
  const controls = (c) => Buffer.from(JSON.stringify({ ...backup, controls: c && { ...backup.controls, ...c } }));

  const other = await newPage();
  await h.started(other);
  await other.click('#files');
  const before = await kept(other);
  const bad = [
    ['cut short', file.subarray(0, file.length / 2), /damaged \(not readable as a backup\)/],
    ['foreign', Buffer.from('{"name": "another game"}'), /not a FINGULP backup/],
    ['oversized', Buffer.alloc((1 << 20) + 1, 32), /larger than any backup/],
    ['a damaged game', Buffer.from(JSON.stringify({ ...backup, games: { last: { replay: 'RkdSAQ' } } })), /its last game is damaged: /],
    ['a damaged date', Buffer.from(JSON.stringify({ ...backup, games: { last: { ...backup.games.last, date: 'soon' } } })), /its last game's date is damaged/],
    ['a stranger\'s file', Buffer.from(JSON.stringify({ ...backup, files: { 'x.ini': '' } })), /a file this page never keeps/],
    ['an unknown control', controls({ volume: 'loud' }), /a control this page does not know \(volume\)/],
    ['controls not a record', controls(null), /its keys and touch keys are damaged/],
    ['a key bound twice', controls({ keys: { ...backup.controls.keys, keys: { ...backup.controls.keys.keys, down: ['KeyW'] } } }),
     /its keys are damaged \(a key bound twice\)/],
    ['an unknown fit', controls({ touch: 'large middle' }), /its touch keys' size and side are damaged/],
    ['sticky neither on nor off', controls({ sticky: 'yes' }), /its arrows that need not be held are damaged/],
  ];
  for (const [name, buffer, why] of bad) {
    await picked(other, '#backup-file', buffer);
    await other.waitForFunction(() => document.getElementById('files-message').textContent !== '' || document.getElementById('confirm-dialog').open);
    assert.match(await message(other), new RegExp(`${why.source}.*Nothing changed\\.$`), name);
    assert.equal(await other.isVisible('#confirm-dialog'), false, name);
    assert.deepEqual(await kept(other), before, name);
    await other.evaluate(() => { document.getElementById('files-message').textContent = ''; });
  }

  const listed = async (buffer) => {
    await picked(other, '#backup-file', buffer);
    await other.waitForSelector('#confirm-dialog[open]');
    return other.locator('#confirm-list li').allTextContents();
  };
  const items = [`Settings and best scores (config.ini, ${Buffer.from(backup.files['config.ini'], 'base64').length} bytes)`,
                 'Best game, 0 fish', 'Last game, 0 fish'];
  assert.deepEqual(await listed(controls(undefined)), items, 'a backup without controls, as the previous page saved');
  await other.click('#confirm-no');
  assert.deepEqual(await listed(file),
                   [...items, 'Keys and touch keys: your keys and gamepad buttons; large left-handed touch keys; arrows that need not be held: on']);
  await Promise.all([other.waitForEvent('load'), other.click('#confirm-yes')]);
  await h.started(other);
  const theirs = (all) => Object.entries(all).filter(([k]) => k === h.configKey || /^fingulp:(replay|controls):/.test(k));
  assert.deepEqual(theirs(await kept(other)), theirs(saved));
  assert.ok(await other.isVisible('#watch-best'));
  // W gives Up, and a tap of it holds it; the touch keys are large and left-handed.
  const tapped = await h.runInPage(other, 'key enter\nkey up\nwait 400\nstate time x y', h.boundInput(other, { enter: 'Enter', up: 'KeyW' }));
  assert.deepEqual(tapped.states, h.runSim('key enter\nhold up 400\nstate time x y', Buffer.from(backup.files['config.ini'], 'base64')).states);
  assert.deepEqual(await other.evaluate(() => ['keys-large', 'hand-left'].map((c) => document.body.classList.contains(c))), [true, true]);
  // A damaged part stays out of the next backup.
  await page.evaluate((k) => localStorage.setItem(k, 'huge left'), h.controlsKeys.touch);
  assert.deepEqual(Object.keys(JSON.parse(await h.downloaded(page, () => page.click('#backup-save'))).controls), ['keys', 'sticky']);
  await h.closeClean([page, other]);
});

test('a kept game is saved as a .fgr file and opened from one, picked or dropped; another file is refused; a kept game is deleted', async () => {
  const page = await newPage();
  await h.runInPage(page, game);
  const last = await h.stored(page, 'fingulp:replay:last');
  await page.click('#files');
  const fgr = await h.downloaded(page, () => page.click('[aria-label="Save as file: Last game"]'));
  assert.equal(fgr.toString('base64url'), last);

  await picked(page, '#replay-file', Buffer.from('not a replay'), 'notes.fgr', 'text/plain');
  await page.waitForFunction(() => document.getElementById('files-message').textContent !== '');
  assert.match(await message(page), /^This file cannot be played: .+\. Nothing changed\.$/);
  assert.equal(await page.evaluate(() => location.hash), '');

  await page.click('[aria-label="Delete: Best game, 0 fish"]');
  await page.click('#confirm-yes');
  assert.equal(await h.stored(page, 'fingulp:replay:best'), null);
  assert.equal(await page.isVisible('#watch-best'), false);
  assert.equal(await page.locator('#kept-games p').count(), 1, 'the last game is still kept');

  const ways = {
    picked: (p) => picked(p, '#replay-file', fgr, 'game.fgr', 'application/x-fingulp-replay'),
    dropped: (p) => p.evaluate((b64) => {
      const transfer = new DataTransfer();
      transfer.items.add(new File([Uint8Array.from(atob(b64), (c) => c.charCodeAt(0))], 'game.fgr'));
      document.body.dispatchEvent(new DragEvent('drop', { dataTransfer: transfer, bubbles: true, cancelable: true }));
    }, fgr.toString('base64')),
  };
  for (const [name, open] of Object.entries(ways)) {
    const watcher = await newPage();
    await h.started(watcher);
    await Promise.all([watcher.waitForEvent('load'), open(watcher)]);
    assert.equal(await watcher.evaluate(() => location.hash), `#replay=${last}`, name);
    await h.started(watcher);
    await h.advance(watcher, 500);
    assert.match(await watcher.locator('#watch-status').textContent(), /^Replay playing/, name);
    await h.closeClean(watcher, name);
  }
  await h.closeClean(page);
});

test('with no share sheet or clipboard, or the sheet cancelled, the link is offered in a dialog that moves nothing', async () => {
  const text = h.tenMinuteReplayText();
  const devices = {
    'neither': () => { delete Navigator.prototype.share; delete Navigator.prototype.clipboard; },
    'a cancelled sheet': () => {
      delete Navigator.prototype.clipboard;
      navigator.share = () => Promise.reject(new DOMException('Share canceled', 'AbortError'));
    },
  };
  for (const [name, device] of Object.entries(devices)) {
    const page = await newPage(h.screens.upright, device);
    await page.evaluate((t) => localStorage.setItem('fingulp:replay:last', t), text);
    await page.reload();
    await h.started(page);
    const layout = () => page.evaluate(() => [...document.querySelectorAll('#screen, #touch-keys button')]
      .map((e) => JSON.stringify(e.getBoundingClientRect())));
    const before = await layout();

    await page.click('#share-last');
    await page.waitForSelector('#share-dialog[open]');
    assert.deepEqual(await page.locator('#share-link').evaluate((f) => [f.value, f.readOnly, getComputedStyle(f).userSelect]),
                     [`${server.url}#replay=${text}`, true, 'text'], name);
    assert.equal(await page.isVisible('#share-sheet'), name === 'a cancelled sheet', name);
    if (await page.isVisible('#share-sheet')) {
      await page.click('#share-sheet');
      assert.ok(await page.isVisible('#share-dialog'), 'cancelling the sheet keeps the dialog');
    }
    assert.deepEqual(await layout(), before, `${name}: the dialog moves nothing`);
    await page.click('#share-close');
    assert.deepEqual(await layout(), before, `${name}: closed, nothing moved`);
    assert.deepEqual(await page.locator('#replay-status, #toast').allTextContents(), ['', ''], name);

    // Copy: the link goes to the clipboard by hand, and "Link copied." goes after a few seconds.
    await page.click('#share-last');
    await page.click('#share-copy');
    assert.equal(await page.locator('#toast').textContent(), 'Link copied.', name);
    assert.equal(await page.isVisible('#share-dialog'), false, name);
    await page.waitForFunction(() => document.getElementById('toast').textContent === '', null, { timeout: 8000 });
    assert.deepEqual(await layout(), before, name);
    await h.closeClean(page, name);
  }
});
