// Lighthouse's scores for the shipped page (a figure, not a test): the page
// served on 127.0.0.1 as any static host would serve it, audited in Debian's
// chromium, with Lighthouse's mobile settings (a mid-range phone on a slow
// network) and its desktop ones. After a web build, once `npm ci` has
// installed Lighthouse here (it never downloads a browser):
//   node bench/web/lighthouse.mjs [RUNS] [FRAGMENT]
// (FRAGMENT, such as "#replay=RkdS…", audits the page opened on it: the watch screen)
// prints the median of RUNS (default 3) for each category, each run's
// performance score (every one must reach the goal) and the figures behind it.
import * as chromeLauncher from 'chrome-launcher';
import lighthouse from 'lighthouse';
import desktopConfig from 'lighthouse/core/config/desktop-config.js';
import * as h from '../../tests/web/harness.mjs';

const runs = Number(process.argv[2] || 3);
const fragment = process.argv[3] || '';
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const categories = ['performance', 'accessibility', 'best-practices', 'seo'];
const metrics = { 'first-contentful-paint': 'FCP ms', 'largest-contentful-paint': 'LCP ms',
                  'total-blocking-time': 'TBT ms', 'cumulative-layout-shift': 'CLS', 'speed-index': 'SI ms' };

const site = await h.serve(h.shippedSiteDir);
const chrome = await chromeLauncher.launch({ chromePath: process.env.FINGULP_CHROMIUM || '/usr/bin/chromium',
                                             chromeFlags: ['--headless=new', '--no-sandbox'] });
try {
  for (const [form, config] of [['mobile', undefined], ['desktop', desktopConfig]]) {
    const scores = Object.fromEntries([...categories, ...Object.keys(metrics)].map((k) => [k, []]));
    const failed = new Set();
    for (let run = 0; run < runs; ++run) {
      const { lhr } = await lighthouse(site.url + fragment, { port: chrome.port, logLevel: 'error', output: 'json' }, config);
      for (const c of categories) scores[c].push(Math.round(lhr.categories[c].score * 100));
      for (const m of Object.keys(metrics)) scores[m].push(lhr.audits[m].numericValue);
      for (const audit of Object.values(lhr.audits)) {
        if (audit.score !== null && audit.score < 1 && audit.scoreDisplayMode === 'binary') failed.add(audit.id);
      }
    }
    console.log(`${form}: ${categories.map((c) => `${c} ${median(scores[c])}`).join(', ')} (median of ${runs})`);
    console.log(`  performance in each run: ${scores.performance.join(', ')}; LCP ms: ${scores['largest-contentful-paint'].map(Math.round).join(', ')}`);
    console.log(`  ${Object.entries(metrics).map(([m, name]) => `${name} ${+median(scores[m]).toFixed(3)}`).join(', ')}`);
    if (failed.size) console.log(`  audits not passed: ${[...failed].join(', ')}`);
  }
} finally {
  await chrome.kill();
  await site.close();
}
