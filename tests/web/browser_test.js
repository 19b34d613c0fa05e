#!/usr/bin/env node
// The site (build/web/site) in a real Chromium: it loads cross-origin isolated, the sample game's
// logo and title show, clicks reach the story, a save into slot 1 survives a reload and loads back
// to the native headless player's picture, and a zipped game dropped on the page opens. Also
// prints how long the page takes to its logo and how big the site is.
//   node tests/web/browser_test.js      exit 0 passed, 1 failed, 77 skipped (no Chromium)
// Needs build/web/site, web/serve.js, and the native release build's qvplay and qvtool
// (QV_NATIVE_BUILD=DIR for another build folder; CHROMIUM=PATH for another browser).
'use strict';

const childProcess = require('child_process');
const fs = require('fs');
const http = require('http');
const net = require('net');
const os = require('os');
const path = require('path');

const kRepo = path.resolve(__dirname, '..', '..');
const kNative = path.resolve(process.env.QV_NATIVE_BUILD || path.join(kRepo, 'build', 'release'));
const kChromium = process.env.CHROMIUM || '/usr/bin/chromium';
const kSkip = 77;
// The sample's frame, and the places on it the test clicks (the title's areas, the command bar's
// save button, the save and load screens' first slot).
const kWidth = 800;
const kHeight = 600;
const kAt = {opening: [400, 324], load: [400, 386], page: [1, 1], saveButton: [400, 589],
             slot1: [200, 198]};
const at = (name) => kAt[name].join(' ');
// The native player's run up to the save, then a second run that loads it.
const kSaveRun = ['idle', 'shot title', `click ${at('opening')}`, 'name Yu', 'idle', 'shot sky',
                  `click ${at('page')}`, 'idle', 'shot sakura', `click ${at('saveButton')}`, 'idle',
                  'shot savescreen', `click ${at('slot1')}`, 'idle'];
const kLoadRun = ['idle', `click ${at('load')}`, 'idle', `click ${at('slot1')}`, 'idle', 'shot loaded'];
// Pixels may differ from the native picture only within one box of the waiting cursor's size:
// the cursor turns, and a browser frame may catch it at another step than the headless shot.
const kCursorSize = 24;

class Failure extends Error {}
const fail = (message) => { throw new Failure(message); };
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const say = (text) => console.log(`browser_test: ${text}`);

function run(command, args, options = {}) {
  const result = childProcess.spawnSync(command, args, {encoding: 'utf8', ...options});
  if (result.status !== 0) {
    fail(`${command} ${args.join(' ')} failed (${result.status ?? result.signal}):\n` +
         `${result.stdout || ''}${result.stderr || result.error || ''}`);
  }
  return result.stdout;
}

// puppeteer-core from tests/web/node_modules, installed from the lock file on first use.
function loadPuppeteer() {
  if (!fs.existsSync(path.join(__dirname, 'node_modules', 'puppeteer-core'))) {
    say('installing puppeteer-core (npm ci in tests/web)');
    const npm = childProcess.spawnSync('npm', ['ci', '--no-audit', '--no-fund'],
                                       {cwd: __dirname, encoding: 'utf8', timeout: 300000});
    if (npm.status !== 0) {
      fail(`npm ci in tests/web failed; is the npm registry reachable?\n${npm.stderr || npm.error}`);
    }
  }
  return require(path.join(__dirname, 'node_modules', 'puppeteer-core'));
}

function freePort() {
  return new Promise((resolve, reject) => {
    const server = net.createServer();
    server.on('error', reject);
    server.listen(0, '127.0.0.1', () => {
      const {port} = server.address();
      server.close(() => resolve(port));
    });
  });
}

function status(url) {
  return new Promise((resolve) => {
    http.get(url, (response) => {
      response.resume();
      resolve(response.statusCode);
    }).on('error', () => resolve(0));
  });
}

function startServer(port) {
  return childProcess.spawn(process.execPath,
                            [path.join(kRepo, 'web', 'serve.js'), '--port', String(port)],
                            {stdio: ['ignore', 'ignore', 'inherit']});
}

async function waitServing(server, url) {
  for (let tries = 0; tries < 100; ++tries) {
    if (server.exitCode !== null) fail(`web/serve.js exited with ${server.exitCode}`);
    const code = await status(url);
    if (code === 200) return;
    if (code !== 0) fail(`${url} answers ${code}: build the site first (build/web/site)`);
    await sleep(100);
  }
  fail(`web/serve.js did not answer at ${url}`);
}

// The site from a server that sends no isolation headers, as most static hosts: the page must
// isolate itself through its service worker.
function startPlainServer(root) {
  const types = {'.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css',
                 '.wasm': 'application/wasm', '.zip': 'application/zip', '.ttf': 'font/ttf'};
  const plain = http.createServer((request, response) => {
    const name = new URL(request.url, 'http://localhost').pathname.replace(/\/$/, '/index.html');
    const file = path.join(root, path.normalize(name));
    if (!file.startsWith(root + path.sep) || !fs.existsSync(file)) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, {'Content-Type': types[path.extname(file)] || 'application/octet-stream'});
    fs.createReadStream(file).pipe(response);
  });
  return new Promise((resolve) => plain.listen(0, '127.0.0.1', () => resolve(plain)));
}

// The native player's pictures of the save and the load, and the sample it played, in `work`.
function nativeShots(work) {
  const sample = path.join(work, 'sample');
  run(path.join(kNative, 'qvtool'), ['make-sample', sample]);
  const game = fs.readdirSync(sample);
  const shots = {};
  const env = {...process.env, HOME: work, XDG_DATA_HOME: path.join(work, 'data')};
  for (const [name, events] of [['save', kSaveRun], ['load', kLoadRun]]) {
    const out = path.join(work, `native-${name}`);
    fs.mkdirSync(out);
    fs.writeFileSync(path.join(work, `${name}.events`), events.join('\n') + '\n');
    run(path.join(kNative, 'qvplay'),
        ['--headless', '--events', path.join(work, `${name}.events`), '--out', out, sample], {env});
    for (const file of fs.readdirSync(out).filter((f) => f.endsWith('.png'))) {
      shots[path.basename(file, '.png')] = fs.readFileSync(path.join(out, file));
    }
  }
  // What the runs left in the game's folder (their saves) is not part of the game.
  for (const entry of fs.readdirSync(sample)) {
    if (!game.includes(entry)) fs.rmSync(path.join(sample, entry), {recursive: true});
  }
  return {sample, shots};
}

// ---- The page.

async function evaluate(page, work, ...args) {
  // A reload in progress destroys the context the call ran in: try again in the new one.
  for (let tries = 0;; ++tries) {
    try {
      return await page.evaluate(work, ...args);
    } catch (error) {
      if (tries > 50 || !/context|navigat|Target closed|detached/i.test(error.message)) throw error;
      await sleep(200);
    }
  }
}

const pageState = (page) => evaluate(page, () => (window.qv ? window.qv.state : 'no window.qv'));

async function waitFor(page, what, seconds, test) {
  const end = Date.now() + seconds * 1000;
  for (;;) {
    const last = await test();
    if (last === true) return;
    const state = await pageState(page);
    if (state === 'error' || state === 'exited') {
      const text = await evaluate(page, () => document.getElementById('status')?.textContent);
      fail(`waiting for ${what}: the page is '${state}' (${text})`);
    }
    if (Date.now() > end) fail(`timed out after ${seconds} s waiting for ${what} (${last})`);
    await sleep(150);
  }
}

async function waitForState(page, wanted, seconds) {
  await waitFor(page, `state '${wanted}'`, seconds, async () => {
    const state = await pageState(page);
    return state === wanted || `state '${state}'`;
  });
}

// The current frame's RGBA bytes.
async function frame(page) {
  // Base64 on the wire: a plain array would be ten times the size.
  const text = await evaluate(page, async () => {
    const bytes = await window.qv.frame();
    let binary = '';
    for (let i = 0; i < bytes.length; i += 0x8000) {
      binary += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
    }
    return btoa(binary);
  });
  return Buffer.from(text, 'base64');
}

// A PNG's pixels as RGBA, decoded by the browser.
async function decodePng(page, png) {
  return Buffer.from(await evaluate(page, async (base64) => {
    const bytes = Uint8Array.from(atob(base64), (c) => c.charCodeAt(0));
    const bitmap = await createImageBitmap(new Blob([bytes], {type: 'image/png'}));
    const canvas = new OffscreenCanvas(bitmap.width, bitmap.height);
    const context = canvas.getContext('2d');
    context.drawImage(bitmap, 0, 0);
    const data = context.getImageData(0, 0, bitmap.width, bitmap.height).data;
    let binary = '';
    for (let i = 0; i < data.length; i += 0x8000) {
      binary += String.fromCharCode.apply(null, data.subarray(i, i + 0x8000));
    }
    return btoa(binary);
  }, png.toString('base64')), 'base64');
}

// Pixels whose colour differs in the first `rows` rows, and the box around them.
function difference(a, b, rows = kHeight) {
  if (a.length !== b.length) {
    return {count: Infinity, box: `a frame of ${a.length} bytes, not ${kWidth} x ${kHeight} x 4`};
  }
  let count = 0, left = kWidth, top = kHeight, right = 0, bottom = 0;
  for (let i = 0; i < rows * kWidth * 4; i += 4) {
    if (a[i] === b[i] && a[i + 1] === b[i + 1] && a[i + 2] === b[i + 2]) continue;
    ++count;
    const x = (i / 4) % kWidth, y = Math.floor(i / 4 / kWidth);
    left = Math.min(left, x), right = Math.max(right, x);
    top = Math.min(top, y), bottom = Math.max(bottom, y);
  }
  return {count, box: count ? `(${left},${top})-(${right},${bottom})` : 'none',
          small: right - left < kCursorSize && bottom - top < kCursorSize};
}

function isBlack(rgba) {
  for (let i = 0; i < rgba.length; i += 4) {
    if (rgba[i] > 8 || rgba[i + 1] > 8 || rgba[i + 2] > 8) return false;
  }
  return true;
}

async function waitForPicture(page, name, reference, seconds, rows = kHeight) {
  let last = null;
  await waitFor(page, `the native '${name}' picture`, seconds, async () => {
    const now = await frame(page);
    if (process.env.QV_KEEP) fs.writeFileSync(path.join(os.tmpdir(), `qvframe-${name}.rgba`), now);
    last = difference(now, reference, rows);
    return last.small || `${last.count} pixels differ: ${last.box}`;
  });
  say(`'${name}' as the native player shows it: ${last.count} pixels differ (${last.box})`);
  return last;
}

// A click at a point of the frame, through the canvas's box on the page.
async function click(page, [x, y]) {
  const box = await (await page.$('#canvas')).boundingBox();
  const to = (fx, fy) => [box.x + (fx + 0.5) * box.width / kWidth,
                          box.y + (fy + 0.5) * box.height / kHeight];
  await page.mouse.click(...to(x, y));
  // Away from every button, so none stays lit under the pointer.
  await page.mouse.move(...to(kWidth - 10, 10));
}

// From a fresh page to the title: ready, the player's click, the logo, then the title.
async function playToTitle(page, title) {
  await waitForState(page, 'ready', 60);
  const ready = Date.now();
  await page.click('#start');
  await waitFor(page, 'the logo (a frame not black)', 30,
                async () => !isBlack(await frame(page)) || 'black');
  const logo = Date.now();
  const logoFrame = await frame(page);
  await waitFor(page, 'a change from the logo', 30,
                async () => difference(await frame(page), logoFrame).count > 0 || 'same frame');
  if (title) await waitForPicture(page, 'title', title, 30);
  return {ready, logo};
}

function siteSize() {
  const sizes = {wasm: 0, js: 0, data: 0};
  const walk = (folder) => {
    for (const entry of fs.readdirSync(folder, {withFileTypes: true})) {
      const file = path.join(folder, entry.name);
      if (entry.isDirectory()) {
        walk(file);
      } else {
        const kind = /\.wasm$/.test(entry.name) ? 'wasm' : /\.js$/.test(entry.name) ? 'js' : 'data';
        sizes[kind] += fs.statSync(file).size;
      }
    }
  };
  walk(path.join(kRepo, 'build', 'web', 'site'));
  const kib = (bytes) => `${(bytes / 1024).toFixed(0)} KiB`;
  return `wasm ${kib(sizes.wasm)}, JavaScript ${kib(sizes.js)}, other files ${kib(sizes.data)}`;
}

let server = null;
let plainServer = null;
let page = null;

async function main() {
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'qvbrowser-'));
  let browser = null;
  try {
    for (const tool of ['qvplay', 'qvtool']) {
      if (!fs.existsSync(path.join(kNative, tool))) {
        fail(`${kNative}/${tool} is missing: cmake --build --preset release first`);
      }
    }
    if (!fs.existsSync(path.join(kRepo, 'web', 'serve.js'))) fail('web/serve.js is missing');
    if (!fs.existsSync(path.join(kRepo, 'build', 'web', 'site', 'index.html'))) {
      fail('build/web/site has no index.html: build the site first');
    }
    const puppeteer = loadPuppeteer();
    const native = nativeShots(work);
    const port = await freePort();
    const url = `http://127.0.0.1:${port}/`;
    server = startServer(port);
    await waitServing(server, url);
    try {
      browser = await puppeteer.launch({
        executablePath: kChromium,
        headless: true,
        userDataDir: path.join(work, 'profile'),
        args: [...(process.getuid && process.getuid() === 0 ? ['--no-sandbox'] : []),
               '--enable-unsafe-swiftshader', '--window-size=1024,768'],
      });
    } catch (error) {
      say(`SKIP: Chromium (${kChromium}) does not start: ${error.message.split('\n')[0]}`);
      return kSkip;
    }
    page = await browser.newPage();
    await page.setViewport({width: 1024, height: 768});
    const problems = [];
    page.on('pageerror', (error) => problems.push(error.message));

    // Loading, isolation, the logo and the title.
    const loadStart = Date.now();
    await page.goto(url, {waitUntil: 'load'});
    await waitFor(page, 'cross-origin isolation', 30,
                  async () => (await evaluate(page, () => window.crossOriginIsolated)) || 'not isolated');
    const title = await decodePng(page, native.shots.title);
    const first = await playToTitle(page, title);
    say(`page load to ready ${first.ready - loadStart} ms, click to logo ${first.logo - first.ready} ms`);

    // Into the story: the name box takes the keyboard, then a page further the bar's save button.
    await click(page, kAt.opening);
    await sleep(1000);
    await page.keyboard.type('Yu');
    await page.keyboard.press('Enter');
    await waitForPicture(page, 'sky', await decodePng(page, native.shots.sky), 30);
    await click(page, kAt.page);
    await waitForPicture(page, 'sakura', await decodePng(page, native.shots.sakura), 30);
    await click(page, kAt.saveButton);
    const saveScreen = await decodePng(page, native.shots.savescreen);
    // Above the command bar: under the screen's veil the browser still draws the waiting cursor
    // and the lit save button, which the headless shot has not.
    await waitForPicture(page, 'save screen', saveScreen, 30, kAt.saveButton[1] - 40);
    await click(page, kAt.slot1);
    // The slot then shows the save's date: no longer the empty screen.
    await waitFor(page, 'slot 1 to show the save', 10,
                  async () => difference(await frame(page), saveScreen).count > 0 || 'unchanged');
    await sleep(1000);  // the saves' copy into IndexedDB

    // The save after a reload, loaded from the title.
    await page.reload({waitUntil: 'load'});
    await playToTitle(page, title);
    await click(page, kAt.load);
    await sleep(1500);
    await click(page, kAt.slot1);
    await waitForPicture(page, 'loaded game', await decodePng(page, native.shots.loaded), 30);

    // A zipped copy of the game, dropped on the page as a player would drop it.
    const zip = path.join(work, 'copy.zip');
    run('zip', ['-qr', zip, 'sample'], {cwd: work});
    await evaluate(page, (base64, name) => {
      const bytes = Uint8Array.from(atob(base64), (c) => c.charCodeAt(0));
      const dropped = new DataTransfer();
      dropped.items.add(new File([bytes], name, {type: 'application/zip'}));
      document.body.dispatchEvent(
          new DragEvent('drop', {dataTransfer: dropped, bubbles: true, cancelable: true}));
    }, fs.readFileSync(zip).toString('base64'), 'copy.zip');
    await sleep(500);
    await playToTitle(page, null);

    // Isolated by the service worker where the server sends no headers.
    plainServer = await startPlainServer(path.join(kRepo, 'build', 'web', 'site'));
    const plainPage = await browser.newPage();
    await plainPage.goto(`http://127.0.0.1:${plainServer.address().port}/`, {waitUntil: 'load'});
    await waitFor(plainPage, 'isolation by the service worker (no headers from the server)', 30,
                  async () => (await evaluate(plainPage, () => window.crossOriginIsolated)) || 'not isolated');
    await waitForState(plainPage, 'ready', 60);

    if (problems.length) fail(`the page threw:\n  ${problems.join('\n  ')}`);
    say(`site size: ${siteSize()}`);
    return 0;
  } catch (error) {
    if (page && process.env.QV_KEEP) {
      await page.screenshot({path: path.join(work, 'failure.png')}).catch(() => {});
      say(`kept ${work} (failure.png: the page when it failed)`);
    }
    throw error;
  } finally {
    if (browser) await browser.close().catch(() => {});
    if (server) server.kill();
    if (plainServer) plainServer.close();
    if (!process.env.QV_KEEP) fs.rmSync(work, {recursive: true, force: true});
  }
}

const guard = setTimeout(() => {
  console.error('browser_test: FAILED: the whole test took over 5 minutes');
  if (server) server.kill();
  process.exit(1);
}, 300000);
main().then((code) => {
  clearTimeout(guard);
  if (code === 0) say('1 passed, 0 failed');
  process.exit(code);
}, (error) => {
  clearTimeout(guard);
  console.error(`browser_test: FAILED: ${error instanceof Failure ? error.message : error.stack}`);
  console.error('browser_test: 0 passed, 1 failed');
  process.exit(1);
});
