// The page's seek figure (a benchmark, not a test): a ten-minute game watched
// on the shipped page, paused, then sought to its end and back to its middle,
// each timed from the seek's start to the program's word that it is there. The game is the
// native benchmark's bot game:
//   build-bench/bench/fingulp_bench --ten-minute-replay /tmp/ten.txt
//   node bench/web/seek.mjs /tmp/ten.txt [RUNS]
import { readFileSync } from 'node:fs';
import * as h from '../../tests/web/harness.mjs';

const text = readFileSync(process.argv[2], 'utf8').trim();
const runs = Number(process.argv[3] || 5);
const shown = (ms) => `${Math.floor(ms / 60000)}:${String(Math.floor(ms / 1000) % 60).padStart(2, '0')}`;

const browser = await h.launch();
const server = await h.serve(h.shippedSiteDir);
const page = await h.openPage(browser, `${server.url}#replay=${text}`);
await page.waitForFunction(() => Number(document.getElementById('watch-seek')?.max) > 0, null, { timeout: 60000 });
const total = Number(await page.locator('#watch-seek').getAttribute('max'));
await page.keyboard.press('Space');

// The seek bar's own seek, timed to the program telling the page the time it
// reached (the bar shows the target at once; the program says so once there).
const seek = (ms) => page.evaluate((target) => new Promise((done) => {
  const start = performance.now();
  const show = HandsetWatch.show;
  HandsetWatch.show = function(...shown) {
    show.apply(this, shown);
    if (shown[3] !== target) return;
    HandsetWatch.show = show;
    done(performance.now() - start);
  };
  HandsetWatch.seek(target);
}), ms);

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const middle = Math.round(total / 100) * 50;
const toEnd = [], toMiddle = [];
for (let run = 0; run < runs; ++run) {
  toEnd.push(await seek(total));
  toMiddle.push(await seek(middle));
}
console.log(`ten-minute game (${shown(total)}), ${runs} runs, median ms:`);
console.log(`  forward to the end     ${median(toEnd).toFixed(0)}  (all: ${toEnd.map((t) => t.toFixed(0)).join(' ')})`);
console.log(`  back to the middle     ${median(toMiddle).toFixed(0)}  (all: ${toMiddle.map((t) => t.toFixed(0)).join(' ')})`);
if (page.errors.length) console.log(page.errors.join('\n'));
await browser.close();
server.close();
