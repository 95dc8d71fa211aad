// The card's page in Debian's Chromium: served from build/web on 127.0.0.1,
// it shows the card, draws frame 100 as the desktop's golden frame, takes a
// link's name and lines, survives bad links, says so when it cannot start,
// and asks nothing of any other origin.
//
//   node tests/web/page_test.js BUILD_DIR WEB_BUILD_DIR
'use strict';

const fs = require('fs');
const os = require('os');
const path = require('path');
const puppeteer = require('puppeteer-core');
const {serveFolders, chromiumOptions} = require('../../tools/web/serve.js');

const [buildDir, webBuildDir] = process.argv.slice(2);
const roots = {
  '/': path.join(buildDir, 'web'),
  '/test/': path.join(webBuildDir, 'test-page'),
  '/data/': path.join(__dirname, '..', 'data'),
};

let server;
let browser;
let userDir;
function cleanUp() {
  if (browser && browser.process()) browser.process().kill('SIGKILL');
  if (server) server.close();
  if (userDir) fs.rmSync(userDir, {recursive: true, force: true});
}
for (const signal of ['SIGINT', 'SIGTERM', 'SIGHUP']) {
  process.on(signal, () => {
    cleanUp();
    process.exit(1);
  });
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Statistics of a canvas region, computed in the page.
async function canvasDigest(page, x, y, w, h) {
  return page.evaluate((x, y, w, h) => {
    const data = document.getElementById('canvas').getContext('2d').getImageData(x, y, w, h).data;
    let sum = 0;
    let hash = 0;
    for (let i = 0; i < data.length; i += 4) {
      sum += data[i] + data[i + 1] + data[i + 2];
      hash = (hash * 31 + data[i] * 7 + data[i + 1] * 3 + data[i + 2]) | 0;
    }
    return {mean: sum / (data.length / 4) / 3, hash};
  }, x, y, w, h);
}

let origin;
const requests = [];
const pageErrors = [];

async function openPage(address, {beforeLoad, failing} = {}) {
  const page = await browser.newPage();
  const log = [];
  page.on('console', (m) => log.push(m.text()));
  if (!failing) page.on('pageerror', (e) => pageErrors.push(address.slice(0, 80) + ': ' + e.message));
  page.on('dialog', async (d) => {
    pageErrors.push(address + ': a dialog opened: ' + d.message());
    await d.dismiss();
  });
  page.on('request', (r) => requests.push(r.url()));
  if (beforeLoad) await beforeLoad(page);
  await page.setViewport({width: 800, height: 600});
  await page.goto(origin + address, {waitUntil: 'load'});
  return {page, log};
}

// Waits until the card draws and moves: the canvas is no longer dark and
// two looks a moment apart differ.
async function cardRuns(page) {
  for (let i = 0; i < 40; ++i) {
    const a = await canvasDigest(page, 0, 0, 800, 600);
    await sleep(250);
    const b = await canvasDigest(page, 0, 0, 800, 600);
    if (a.mean > 20 && a.hash !== b.hash) return true;
  }
  return false;
}

const results = [];
async function check(name, body) {
  try {
    await body();
    results.push(true);
    console.log('ok - ' + name);
  } catch (e) {
    results.push(false);
    console.log('not ok - ' + name + ': ' + e.message.slice(0, 300));
  }
}
function expect(condition, what) {
  if (!condition) throw new Error(what);
}

async function main() {
  ({server, origin} = await serveFolders(roots));
  userDir = fs.mkdtempSync(path.join(os.tmpdir(), 'solvane-chromium-'));
  browser = await puppeteer.launch(chromiumOptions(userDir, {...process.env, TZ: 'UTC'}));

  let shippedCredit;
  let shippedElements;
  await check('the page shows the card, moving', async () => {
    const {page, log} = await openPage('/index.html');
    expect(await cardRuns(page), 'the canvas stays dark or still');
    expect(await page.$eval('#message', (m) => m.hidden), 'a message covers the card');
    shippedElements = await page.evaluate(() => document.querySelectorAll('*').length);
    expect(!log.some((l) => l.includes('link:')), 'a card without a link reports one: ' + log.join(' | '));
    await page.close();
  });

  await check('frame 100 in the page equals the desktop golden frame', async () => {
    const {page} = await openPage('/test/index.html');
    await page.waitForFunction(() => document.title === 'frame 100', {timeout: 30000});
    const result = await page.evaluate(async () => {
      const image = new Image();
      image.src = '/data/card_frame100.png';
      await image.decode();
      const other = document.createElement('canvas');
      other.width = 800;
      other.height = 600;
      const context = other.getContext('2d');
      context.drawImage(image, 0, 0);
      const want = context.getImageData(0, 0, 800, 600).data;
      const got = document.getElementById('canvas').getContext('2d').getImageData(0, 0, 800, 600).data;
      let differing = 0;
      let largest = 0;
      for (let i = 0; i < want.length; i += 4) {
        let most = 0;
        for (let k = 0; k < 3; ++k) most = Math.max(most, Math.abs(want[i + k] - got[i + k]));
        largest = Math.max(largest, most);
        if (most > 16) ++differing;
      }
      return {differing, largest};
    });
    console.log('# golden frame: ' + result.differing + ' pixels over the tolerance, largest channel difference ' +
                result.largest);
    expect(result.differing <= 8, result.differing + ' pixels differ from the golden frame');
    shippedCredit = await canvasDigest(page, 0, 578, 240, 22);
    await page.close();
  });

  await check("a link's name and lines reach the card", async () => {
    const {page} = await openPage('/test/index.html#from=Zed&line=Hello%20from%20the%20web&line=Bye');
    await page.waitForFunction(() => document.title === 'frame 100', {timeout: 30000});
    const credit = await canvasDigest(page, 0, 578, 240, 22);
    expect(credit.hash !== shippedCredit.hash, 'the credit still shows the shipped name');
    await page.close();
    const card = await openPage('/index.html#from=Zed&line=Hello%20from%20the%20web&line=Bye');
    expect(await cardRuns(card.page), 'the card does not run');
    expect(card.log.some((l) => l.includes('the card takes name "Zed", lines 2')), 'no word of the link: ' +
           card.log.join(' | '));
    await card.page.close();
  });

  const bad = [
    ['a broken escape', 'line=kept&from=%ZZ', 'the card takes lines 1'],
    ['a line that is no UTF-8', 'line=%E2%82&from=Bo', 'the card takes name "Bo"'],
    ['markup', 'from=%3Cimg%20src%3Dx%20onerror%3Dalert(1)%3E&line=%3Cscript%3Ealert(2)%3C%2Fscript%3E',
     'the card takes name'],
    ['a script address', 'javascript:alert(1)', 'unknown key'],
    ['nothing but separators', '&&&==&%', 'link:'],
    ['a megabyte and a half', 'line=' + 'x'.repeat(1536 * 1024), 'longer than 65536'],
  ];
  for (const [what, fragment, said] of bad) {
    await check('a link with ' + what + ' leaves the card running and nothing else changed', async () => {
      const {page, log} = await openPage('/index.html#' + fragment);
      expect(await cardRuns(page), 'the card does not run');
      const elements = await page.evaluate(() => document.querySelectorAll('*').length);
      expect(elements === shippedElements, 'the page has ' + elements + ' elements, not ' + shippedElements);
      expect(log.some((l) => l.includes(said)), 'no "' + said + '" on the console: ' + log.join(' | ').slice(0, 300));
      await page.close();
    });
  }

  await check('a page whose data does not load says so', async () => {
    const {page} = await openPage('/index.html', {
      failing: true,
      beforeLoad: async (p) => {
        await p.setRequestInterception(true);
        p.on('request', (r) => (r.url().endsWith('.data') ? r.respond({status: 404, body: ''}) : r.continue()));
      },
    });
    await page.waitForFunction(() => !document.getElementById('message').hidden, {timeout: 20000});
    const text = await page.$eval('#message', (m) => m.textContent);
    expect(/could not start/.test(text), 'the message reads: ' + text);
    await page.close();
  });

  await check('a browser without WebAssembly gets a message', async () => {
    const {page} = await openPage('/index.html', {
      beforeLoad: (p) => p.evaluateOnNewDocument(() => { delete window.WebAssembly; }),
    });
    const text = await page.$eval('#message', (m) => (m.hidden ? '' : m.textContent));
    expect(/WebAssembly/.test(text), 'the message reads: ' + text);
    await page.close();
  });

  await check('the maker page makes a link the card opens', async () => {
    const {page} = await openPage('/make.html');
    await page.type('#from', 'Ann');
    await page.type('#lines', 'Line one\nLine two');
    const link = await page.$eval('#link', (l) => l.value);
    expect(link === origin + '/index.html#from=Ann&line=Line%20one&line=Line%20two', 'the link reads ' + link);
    await page.close();
  });

  await check("the engine's example in a page takes clicks on its buttons", async () => {
    const {page, log} = await openPage('/example.html');
    await page.waitForFunction(() => window.Module && Module.glimmerContext, {timeout: 20000});
    await sleep(500);
    await page.mouse.click(560, 300);
    await page.mouse.click(200, 300);
    await sleep(500);
    expect(log.includes('counter: 1') && log.includes('lamp: on'), 'the buttons said: ' + log.join(' | '));
    await page.close();
  });

  await check('no request leaves the page\'s own origin, no page error', async () => {
    const foreign = requests.filter((r) => !r.startsWith(origin + '/') && !r.startsWith('data:'));
    expect(foreign.length === 0, 'requests to ' + foreign.slice(0, 3).join(', '));
    const stray = requests.filter((r) => /\/x$/.test(r));
    expect(stray.length === 0, 'the markup in a link was loaded: ' + stray[0]);
    expect(pageErrors.length === 0, pageErrors.slice(0, 3).join('; '));
  });
}

main()
  .catch((e) => {
    console.log('not ok - the test could not run: ' + e.message);
    results.push(false);
  })
  .finally(async () => {
    if (browser) await browser.close().catch(() => {});
    cleanUp();
    const failed = results.filter((r) => !r).length;
    console.log(`${results.length - failed} passed, ${failed} failed`);
    process.exit(failed ? 1 : 0);
  });
