// Takes docs/screens/web-phone.png: the web page on a phone-sized touch
// screen, the touch keys under a game in play. After a web build with its
// test page (tools/test.sh): node tools/web-screenshot.mjs
import path from 'node:path';
import * as h from '../tests/web/harness.mjs';

const server = await h.serve(h.siteDir);
const browser = await h.launch();
const context = await browser.newContext({ serviceWorkers: 'block', viewport: { width: 390, height: 844 },
                                           deviceScaleFactor: 2, isMobile: true, hasTouch: true });
const page = await h.openPage(browser, server.url, { context });
await h.runInPage(page, 'key enter\nhold left 600\nhold up 600\nwait 400\nhold left 800\nhold down 800');
await page.screenshot({ path: path.join(h.repo, 'docs/screens/web-phone.png') });
await browser.close();
await server.close();
