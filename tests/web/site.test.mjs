// The player's page as shipped: no test hooks, the menu after the program's
// own waits in real time, and a second visit with no network from the
// service worker's copy.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { appendFileSync, cpSync, mkdtempSync, readdirSync, rmSync, utimesSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { after, before, test } from 'node:test';
import * as h from './harness.mjs';

let server, browser, menu;
before(async () => {
  [server, browser] = await Promise.all([h.serve(h.shippedSiteDir), h.launch()]);
  menu = h.runSim('shot menu').shots.menu;
});
after(async () => { await browser?.close(); await server?.close(); });

// Waits (in real time, with room for a busy machine) until the canvas shows
// the main menu.
async function waitForMenu(page) {
  const expected = await h.pngPixels(page, menu);
  for (const end = Date.now() + 60000; Date.now() < end; await page.waitForTimeout(250)) {
    if (h.differingRows(await h.canvasPixels(page), expected).length === 0) return;
  }
  assert.fail('the menu never showed');
}

test('the shipped page carries no test hooks and reaches the menu', async () => {
  const page = await h.openPage(browser, server.url);
  await waitForMenu(page);
  assert.deepEqual(await page.evaluate(() => [typeof Module.testClock, typeof Module._fingulp_test_state]),
                   ['undefined', 'undefined']);
  assert.deepEqual(page.errors, []);
  await page.context().close();
});

test('the service worker keeps the page for play with no network', async () => {
  const context = await browser.newContext();
  const page = await h.openPage(browser, server.url, { context });
  await page.evaluate(() => navigator.serviceWorker.ready);
  const cached = await page.evaluate(async () => {
    const names = await caches.keys();
    return names.length === 1 ? (await (await caches.open(names[0])).keys()).map((r) => new URL(r.url).pathname) : names;
  });
  assert.deepEqual(cached.sort(), ['/', '/fingulp.js', '/fingulp.wasm', '/icon-192.png', '/icon-512.png',
                                   '/index.html', '/manifest.webmanifest']);
  await context.setOffline(true);
  await page.reload();
  await waitForMenu(page);
  assert.deepEqual(page.errors, []);
  await context.close();
});

test('a new version runs at the next reload, though its files carry the old modification times', async () => {
  const scratch = mkdtempSync(path.join(tmpdir(), 'fingulp-update-'));
  const [live, next] = [path.join(scratch, 'live'), path.join(scratch, 'next')];
  const old = new Date('2020-01-01T00:00:00Z');
  const put = (from) => {
    cpSync(from, live, { recursive: true });
    for (const name of readdirSync(live)) utimesSync(path.join(live, name), old, old);
  };
  put(h.shippedSiteDir);
  const cacheable = await h.serve(live, { cacheable: true });
  const context = await browser.newContext();
  try {
    const page = await h.openPage(browser, cacheable.url, { context });
    await page.evaluate(() => navigator.serviceWorker.ready);
    await waitForMenu(page);
    // Version 2: one more line in the program's script, assembled as a build does.
    cpSync(h.shippedSiteDir, next, { recursive: true });
    appendFileSync(path.join(next, 'fingulp.js'), '\nwindow.fingulpVersion = 2;\n');
    execFileSync('cmake', [`-DSITE=${next}`, `-DPAGE=${path.join(h.repo, 'platform/web/page')}`,
                           `-DICONS=${path.join(path.dirname(h.shippedSiteDir), 'web-icons')}`,
                           '-P', path.join(h.repo, 'platform/web/make_site.cmake')]);
    put(next);
    await page.reload();
    // Its worker may reload the page once more as it takes over.
    const versions = async () => page.evaluate(async () => [window.fingulpVersion, (await caches.keys()).length])
      .catch(() => []);
    for (const end = Date.now() + 30000; Date.now() < end && `${await versions()}` !== '2,1';) await page.waitForTimeout(250);
    assert.deepEqual(await versions(), [2, 1], 'version 2 runs and only its copy is kept');
    await waitForMenu(page);
    assert.deepEqual(page.errors, []);
  } finally {
    await context.close();
    await cacheable.close();
    rmSync(scratch, { recursive: true, force: true });
  }
});
