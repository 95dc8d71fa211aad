// The card's page in Debian's Chromium against two references in the same
// browser and run: a bare page that only puts pixels into an 800 x 600 canvas
// 33 times a second (the browser's floor without a GPU) and the
// magic-snowflakes page with 300 flakes. Each page is measured RUNS times in a
// browser of its own: the CPU time of all the browser's processes over 10 s,
// after 4 s of settling. Prints the medians with their ranges as "bench:" lines.
//
//   node bench/web/run.js BUILD_DIR
'use strict';

const fs = require('fs');
const os = require('os');
const path = require('path');
const zlib = require('zlib');
const puppeteer = require('puppeteer-core');
const {serveFolders, chromiumOptions} = require('../../tools/web/serve.js');

const webDir = path.join(process.argv[2], 'web');
const runs = Number(process.env.WEB_BENCH_RUNS || 3);
const settle = 4000;
const measured = 10000;
const ticksPerSecond = 100;  // USER_HZ on Linux

let server;
let browser;
let userDir;
function cleanUp() {
  if (browser && browser.process()) browser.process().kill('SIGKILL');
  browser = null;
  if (userDir) fs.rmSync(userDir, {recursive: true, force: true});
  userDir = null;
}
for (const signal of ['SIGINT', 'SIGTERM', 'SIGHUP']) {
  process.on(signal, () => {
    cleanUp();
    if (server) server.close();
    process.exit(1);
  });
}

// utime + stime of a process and all its descendants, in clock ticks.
function treeTicks(root) {
  const parents = new Map();
  const ticks = new Map();
  for (const entry of fs.readdirSync('/proc')) {
    if (!/^\d+$/.test(entry)) continue;
    try {
      const stat = fs.readFileSync(`/proc/${entry}/stat`, 'utf8');
      const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
      parents.set(Number(entry), Number(fields[1]));
      ticks.set(Number(entry), Number(fields[11]) + Number(fields[12]));
    } catch (e) {
      // The process ended while it was looked at.
    }
  }
  let total = 0;
  for (const [pid, t] of ticks) {
    for (let p = pid; p > 1; p = parents.get(p)) {
      if (p === root) {
        total += t;
        break;
      }
      if (!parents.has(p)) break;
    }
  }
  return total;
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

async function launch() {
  userDir = fs.mkdtempSync(path.join(os.tmpdir(), 'solvane-bench-chromium-'));
  browser = await puppeteer.launch(chromiumOptions(userDir));
}

// Share of one core the browser uses while it shows the page.
async function cpuShare(address) {
  await launch();
  try {
    const page = await browser.newPage();
    await page.setViewport({width: 800, height: 600});
    await page.goto(address, {waitUntil: 'load'});
    await sleep(settle);
    const pid = browser.process().pid;
    const before = treeTicks(pid);
    const start = Date.now();
    await sleep(measured);
    const used = treeTicks(pid) - before;
    return used / ticksPerSecond / ((Date.now() - start) / 1000);
  } finally {
    await browser.close().catch(() => {});
    cleanUp();
  }
}

// Milliseconds from navigation to the first frame the card shows.
async function firstFrame(address) {
  await launch();
  try {
    const page = await browser.newPage();
    await page.setViewport({width: 800, height: 600});
    const start = Date.now();
    await page.goto(address, {waitUntil: 'domcontentloaded'});
    await page.waitForFunction(() => {
      const c = document.getElementById('canvas');
      if (!c || !window.Module || !Module.glimmerContext) return false;
      const d = c.getContext('2d').getImageData(400, 300, 1, 1).data;
      return d[3] === 255 && d[0] + d[1] + d[2] > 0;
    }, {polling: 5, timeout: 20000});
    return Date.now() - start;
  } finally {
    await browser.close().catch(() => {});
    cleanUp();
  }
}

function transferKb() {
  const files = ['index.html', 'page.css', 'page.js', 'solvane.js', 'solvane.wasm', 'solvane.data'];
  let bytes = 0;
  for (const f of files) bytes += zlib.gzipSync(fs.readFileSync(path.join(webDir, f)), {level: 9}).length;
  return Math.round(bytes / 1024);
}

function summary(values, digits) {
  const sorted = [...values].sort((a, b) => a - b);
  const median = sorted[Math.floor(sorted.length / 2)];
  return `${median.toFixed(digits)} (range ${sorted[0].toFixed(digits)}-${sorted[sorted.length - 1].toFixed(digits)})`;
}

async function main() {
  let origin;
  ({server, origin} = await serveFolders({'/': webDir, '/bench/': __dirname}));
  const card = [];
  const floor = [];
  const peer = [];
  const first = [];
  for (let i = 0; i < runs; ++i) {
    card.push(await cpuShare(origin + '/index.html'));
    floor.push(await cpuShare(origin + '/bench/floor.html'));
    peer.push(await cpuShare(origin + '/bench/peer.html'));
    first.push(await firstFrame(origin + '/index.html'));
  }
  const size = 'flakes=300 size=800x600';
  console.log(`bench: web_cpu_share ${size} ${summary(card, 3)}`);
  console.log(`bench: web_cpu_ratio_floor ${size} ${summary(card.map((c, i) => c / floor[i]), 3)}`);
  console.log(`bench: web_cpu_ratio_peer ${size} ${summary(card.map((c, i) => c / peer[i]), 3)}`);
  console.log(`bench: web_floor_cpu_share ${size} ${summary(floor, 3)}`);
  console.log(`bench: web_peer_cpu_share ${size} ${summary(peer, 3)}`);
  console.log(`bench: web_first_frame_ms ${summary(first, 0)}`);
  console.log(`bench: web_transfer_kb ${transferKb()}`);
}

main()
  .catch((e) => {
    console.error('bench/web: ' + e.message);
    process.exitCode = 1;
  })
  .finally(() => {
    cleanUp();
    if (server) server.close();
  });
