// The game's page in headless Chromium, served by tools/web.sh --serve: it plays (the title,
// Space, the wings, the HUD, the sound) with no console errors, and a scripted flight on it
// draws and sounds as the desktop runner's. Run by tools/test.sh under a display (the desktop
// runner's pictures need one); KESTRAVA_PAGE_URL names a page already served instead.
import assert from 'node:assert/strict';
import { execFileSync, spawn } from 'node:child_process';
import { mkdtempSync, readFileSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { after, before, test } from 'node:test';
import { chromium } from 'playwright-core';

const root = new URL('../..', import.meta.url).pathname;
const runner = (process.env.KESTRAVA_BUILD || root + 'build') + '/kestrava-script';
const work = mkdtempSync(tmpdir() + '/kestrava-page-');
let server, base, browser;

// tools/web.sh --serve prints the page's address once it listens.
function Serve() {
  server = spawn(root + 'tools/web.sh', ['--serve', String(20000 + (process.pid % 20000))],
                 {stdio: ['ignore', 'pipe', 'ignore']});
  return new Promise((resolve, reject) => {
    let said = '';
    server.stdout.on('data', (chunk) => {
      const address = (said += chunk).match(/http:\/\/127\.0\.0\.1:\d+\//);
      if (address) resolve(address[0]);
    });
    server.on('exit', (code) => reject(new Error('tools/web.sh --serve ended with ' + code)));
  });
}

before(async () => {
  base = process.env.KESTRAVA_PAGE_URL || await Serve();
  browser = await chromium.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    args: ['--headless=new', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
           '--autoplay-policy=no-user-gesture-required'],
  });
});
after(async () => {
  await browser?.close();
  server?.kill();
});

// A standard gamepad the test presses: window.pad, all the browser's gamepad API finds.
function FakePad() {
  window.pad = {id: 'test pad', index: 0, connected: true, mapping: 'standard', timestamp: 0, axes: [0, 0, 0, 0],
                buttons: Array.from({length: 17}, () => ({pressed: false, value: 0}))};
  navigator.getGamepads = () => [window.pad];
}

// The page with its console watched: every error and uncaught exception lands in errors.
async function Open(query = '') {
  const page = await browser.newPage();
  await page.addInitScript(FakePad);
  const errors = [];
  page.on('console', (m) => { if (m.type() === 'error') errors.push(m.text()); });
  page.on('pageerror', (e) => errors.push(e.message));
  await page.goto(base + 'index.html' + query);
  return {page, errors};
}

const Passes = (page, n) => page.waitForFunction((n) => kestravaPage.passes >= n, n, {timeout: 60000});
// The picture after the next pass, as RGBA rows (base64 on the way: a quicker crossing).
async function Capture(page) {
  return Buffer.from(await page.evaluate(async () => {
    const pixels = await kestravaPage.capture();
    let text = '';
    for (let i = 0; i < pixels.length; i += 0x8000) text += String.fromCharCode(...pixels.subarray(i, i + 0x8000));
    return btoa(text);
  }), 'base64');
}

// Pixels of the rectangle that pass the test, counted on RGBA rows of the 640-wide frame.
function Count(pixels, x0, y0, x1, y1, pass) {
  let n = 0;
  for (let y = y0; y < y1; ++y)
    for (let x = x0; x < x1; ++x) if (pass(pixels.subarray((y * 640 + x) * 4))) ++n;
  return n;
}
const White = ([r, g, b]) => r > 200 && g > 200 && b > 200;   // the fade dims the texts
// The bird's grey wings, told from the white texts and the coloured scenery.
const Wing = ([r, g, b]) => Math.min(r, g, b) >= 110 && Math.max(r, g, b) <= 200 && Math.max(r, g, b) - Math.min(r, g, b) <= 24;
function BirdX(pixels) {
  let sum = 0, n = 0;
  for (let y = 90; y < 465; ++y)
    for (let x = 0; x < 640; ++x) if (Wing(pixels.subarray((y * 640 + x) * 4))) sum += x, ++n;
  assert.ok(n > 100, `the bird's wings are on the canvas (${n} pixels)`);
  return sum / n;
}

const Wait = async (page, passes) => Passes(page, await page.evaluate(() => kestravaPage.passes) + passes);

// Holds the key (or the pad's button) for some passes (a held wing dives to its side), then
// lets the wings settle.
async function Hold(page, key, passes) {
  const Press = (held) => typeof key === 'number'
    ? page.evaluate(([b, held]) => { pad.buttons[b] = {pressed: held, value: +held}; }, [key, held])
    : held ? page.keyboard.down(key) : page.keyboard.up(key);
  await Press(true);
  await Wait(page, passes);
  await Press(false);
  await Wait(page, 60);
}

test('the page plays: title, a flight on Space, the wings and the pad, the HUD, a pause and the sound', async () => {
  const {page, errors} = await Open('?audio=4410');
  await Passes(page, 30);
  assert.equal(await page.title(), 'Kestrava v.0.4');
  assert.equal(await page.isHidden('#sound-hint'), false, 'the sound hint shows until a key');
  const title = await Capture(page);
  assert.ok(Count(title, 200, 228, 440, 246, White) > 100, '"Press SPACE to start flying." shows');
  const startMs = await page.evaluate(() => kestravaPage.firstFrameMs);

  await page.keyboard.press('Space');
  await Wait(page, 100);   // the bird flies in from below
  const flight = await Capture(page);
  assert.ok(Count(flight, 200, 228, 440, 246, White) < 10, 'the title texts are gone');
  assert.ok(Count(flight, 221, 466, 419, 476, White) > 1500, 'the life bar is full');
  assert.ok(Count(flight, 200, 440, 440, 455, White) > 50, 'the score shows');
  assert.ok(Count(flight, 280, 0, 360, 14, White) > 30, 'the clock shows');

  const start = BirdX(flight);
  await Hold(page, 'ArrowRight', 80);
  const right = BirdX(await Capture(page));
  await Hold(page, 'KeyZ', 80);
  const left = BirdX(await Capture(page));
  await Hold(page, 5, 80);   // the pad's right shoulder
  const pad = BirdX(await Capture(page));
  assert.ok(right > start + 15 && left < right - 15 && pad > left + 15,
            `the wings move the bird: x ${start} -> ${right} -> ${left} -> ${pad}`);

  await page.keyboard.press('KeyP');
  await Wait(page, 5);
  const held = await Capture(page);
  await Wait(page, 30);
  assert.ok(held.equals(await Capture(page)), 'a paused game holds its picture');
  await page.keyboard.press('KeyP');
  await Wait(page, 30);
  assert.ok(!held.equals(await Capture(page)), 'P again goes on');

  assert.equal(await page.isHidden('#sound-hint'), true, 'the key started the sound');
  const sound = await page.evaluate(() => kestravaPage.recordedAudio().filter((s) => s !== 0).length);
  assert.ok(sound > 1000, 'Web Audio was handed the music');
  assert.deepEqual(errors, []);
  console.log(`page start-up to the first frame: ${startMs.toFixed(0)} ms; the bird at x ${start}, ${right}, ${left}, ${pad}`);
});

// A flight by the runner's keys: off the title at 30, a right dive, a left one, both wings.
const kKeys = '30 down 32\n31 up 32\n80 down 39\n140 up 39\n160 down 90\n200 up 90\n' +
              '220 down 37\n220 down 77\n224 up 37\n224 up 77\n240 down 37\n240 down 77\n244 up 37\n244 up 77\n';
const kPasses = 400;
const kSoundFrames = 44100;

test('a scripted flight on the page draws and sounds as the desktop runner', async () => {
  const keys = work + '/keys', shot = work + '/shot.png', wav = work + '/audio.wav';
  writeFileSync(keys, kKeys);
  const stats = execFileSync(runner, ['--keys', keys, '--frames', String(kPasses), '--shot', `${kPasses}:${shot}`,
                                      '--audio', wav, '--stats'], {encoding: 'utf8'});
  const {page, errors} = await Open(`?frames=${kPasses}&shot=${kPasses}&audio=${kSoundFrames}&finish&keys=` +
                                    encodeURIComponent(kKeys));
  await page.waitForFunction((n) => kestravaPage.ended && kestravaPage.recordedAudio().length >= n,
                             2 * kSoundFrames, {timeout: 120000});

  const png = readFileSync(shot).toString('base64');
  const [agree, identical] = await page.evaluate(async (png) => {
    const image = new Image();
    image.src = 'data:image/png;base64,' + png;
    await image.decode();
    const copy = document.createElement('canvas');
    copy.width = 640, copy.height = 480;
    copy.getContext('2d').drawImage(image, 0, 0);
    const want = copy.getContext('2d').getImageData(0, 0, 640, 480).data, got = kestravaPage.shot.pixels;
    let close = 0, same = 0;
    for (let i = 0; i < want.length; i += 4) {
      const d = Math.max(...[0, 1, 2].map((c) => Math.abs(want[i + c] - got[i + c])));
      close += d <= 4, same += d === 0;
    }
    return [close / (640 * 480), same / (640 * 480)];
  }, png);
  console.log(`pass ${kPasses} against the desktop: ${(100 * agree).toFixed(2)}% of pixels within 4 levels, ` +
              `${(100 * identical).toFixed(2)}% identical`);
  assert.ok(agree >= 0.99);

  const wavBytes = readFileSync(wav);
  const want = new Int16Array(wavBytes.buffer.slice(wavBytes.byteOffset + 44, wavBytes.byteOffset + 44 + 4 * kSoundFrames));
  const heard = await page.evaluate((n) => kestravaPage.recordedAudio().slice(0, n), 2 * kSoundFrames);
  assert.deepEqual(heard, Array.from(want), 'Web Audio was handed the runner\'s samples');
  assert.deepEqual(errors, []);

  const pageMs = await page.evaluate(() => kestravaPage.passMs.slice().sort((a, b) => a - b)[kestravaPage.passMs.length >> 1]);
  const desktopUs = Number(stats.match(/median (\d+)/)[1]);
  console.log(`time per pass to the end of its drawing, median: page ${(1000 * pageMs).toFixed(0)} us, ` +
              `desktop runner ${desktopUs} us`);
});
