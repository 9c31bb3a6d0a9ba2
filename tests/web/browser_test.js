// The page in headless Chromium: the test mode's frames equal krawlix-tool shot's, the game
// in real time takes keys, a dropped level plays, bad input still gives a page that starts.
//   node browser_test.js PAGE_DIR KRAWLIX_TOOL CHROMIUM LEVEL.kxlev
'use strict';
const { execFileSync } = require('child_process');
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');
const zlib = require('zlib');
const { Browser } = require('./cdp');

const [pageDir, tool, chromium, levelFile] = process.argv.slice(2);
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'kx-web-test-'));
let passed = 0;
let failed = 0;

function check(condition, what) {
  if (!condition) throw new Error(what);
}

// A plain static server of the page; below /noarchive/ the archive is missing.
function serve() {
  const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm' };
  const server = http.createServer((request, response) => {
    let name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const noArchive = name.startsWith('/noarchive/');
    name = name.replace(/^\/(noarchive|page)\//, '/');
    if (name === '/') name = '/index.html';
    const file = path.join(pageDir, path.normalize(name));
    if ((noArchive && name === '/Krawlix.bfres') || !file.startsWith(pageDir) ||
        !fs.existsSync(file)) {
      response.writeHead(404);
      response.end();
      return;
    }
    response.writeHead(200,
      { 'Content-Type': types[path.extname(file)] || 'application/octet-stream' });
    response.end(fs.readFileSync(file));
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

// 8-bit RGB or RGBA PNG, not interlaced (what shot writes), to RGB bytes.
function decodePng(bytes) {
  let pos = 8;
  let width = 0, height = 0, channels = 3;
  const data = [];
  while (pos < bytes.length) {
    const length = bytes.readUInt32BE(pos);
    const type = bytes.toString('latin1', pos + 4, pos + 8);
    const body = bytes.subarray(pos + 8, pos + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      check(body[8] === 8 && (body[9] === 2 || body[9] === 6) && body[12] === 0, 'PNG kind');
      channels = body[9] === 6 ? 4 : 3;
    } else if (type === 'IDAT') {
      data.push(body);
    }
    pos += 12 + length;
  }
  const raw = zlib.inflateSync(Buffer.concat(data));
  const stride = width * channels;
  const out = Buffer.alloc(width * height * 3);
  let previous = Buffer.alloc(stride);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    const line = Buffer.from(raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1)));
    for (let i = 0; i < stride; ++i) {
      const a = i >= channels ? line[i - channels] : 0;
      const b = previous[i];
      const c = i >= channels ? previous[i - channels] : 0;
      let add = 0;
      if (filter === 1) add = a;
      else if (filter === 2) add = b;
      else if (filter === 3) add = (a + b) >> 1;
      else if (filter === 4) {
        const p = a + b - c;
        const pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
        add = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
      }
      line[i] = (line[i] + add) & 255;
    }
    for (let x = 0; x < width; ++x)
      for (let k = 0; k < 3; ++k) out[(y * width + x) * 3 + k] = line[x * channels + k];
    previous = line;
  }
  return { width, height, rgb: out };
}

function shot(args) {
  return execFileSync(tool, ['shot', '--program-dir', pageDir, ...args], { encoding: 'utf8' });
}

function shotState(args) {
  return JSON.parse(shot(['--state', ...args]));
}

async function canvasRgb(page) {
  const base64 = await page.evaluate(`(() => {
    const c = document.getElementById('canvas');
    const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
    let s = '';
    for (let i = 0; i < d.length; i += 4)
      s += String.fromCharCode(d[i], d[i + 1], d[i + 2]);
    return btoa(s);
  })()`);
  return Buffer.from(base64, 'base64');
}

// The pixels on the canvas that differ from the game's picture handed over whole: the page
// hands the canvas only what changed since the last picture. (That a paint of what changed
// equals a whole paint, the native tests show.)
async function pixelsOffTheWholePicture(page) {
  return page.evaluate(`(() => {
    const c = document.getElementById('canvas');
    const read = () => c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
    Module._kx_web_show(0);
    const shown = read();
    Module._kx_web_show(1);
    const whole = read();
    let differing = 0;
    for (let i = 0; i < shown.length; i += 4)
      if (shown[i] !== whole[i] || shown[i + 1] !== whole[i + 1] || shown[i + 2] !== whole[i + 2])
        ++differing;
    return differing;
  })()`);
}

async function probe(page) {
  return JSON.parse(await page.evaluate("Module.UTF8ToString(Module._kx_web_probe())"));
}

async function open(page, url) {
  await page.goto(url);
  await page.waitFor('window.kxFirstPictureMs !== undefined');
}

async function run(name, body) {
  try {
    await body();
    ++passed;
    console.log(`ok: ${name}`);
  } catch (e) {
    ++failed;
    console.log(`FAILED: ${name}: ${e.message}`);
  }
}

async function main() {
  const server = await serve();
  const origin = `http://127.0.0.1:${server.address().port}`;
  const browser = await Browser.launch(chromium, ['--window-size=800,800']);
  const page = await browser.newPage();
  try {
    // (a) The test mode is krawlix-tool shot in the page.
    const frames = [
      ['the title screen', '1', '', '100'],
      ['level 1 with its help text', '1', '100:enter', '300'],
      ['level 1 after some keys', '7', '100:enter,300:enter,500:right,900:down,1300:left', '2000'],
    ];
    for (const [what, seed, keys, at] of frames) {
      await run(`test mode: ${what} equals shot's picture`, async () => {
        const png = path.join(work, 'shot.png');
        const state = shotState(['--seed', seed, '--keys', keys, '--at', at, png]);
        const expected = decodePng(fs.readFileSync(png));
        const query = new URLSearchParams({ seed, keys, at });
        await open(page, `${origin}/page/?${query}`);
        const actual = await canvasRgb(page);
        check(expected.width === 650 && expected.height === 650, 'shot is 650 x 650');
        let differing = 0;
        for (let i = 0; i < actual.length; i += 3)
          if (actual[i] !== expected.rgb[i] || actual[i + 1] !== expected.rgb[i + 1] ||
              actual[i + 2] !== expected.rgb[i + 2]) ++differing;
        check(actual.length === expected.rgb.length, 'canvas size');
        check(differing === 0, `${differing} pixels differ`);
        const title = await page.evaluate('document.title');
        check(title === state.title, `title "${title}", shot says "${state.title}"`);
      });
    }

    // (b) Real time: Enter starts level 1, an arrow steers the worm, the profile is kept.
    await run('real time: Enter starts level 1, an arrow moves the worm, the last game is kept',
      async () => {
        const menu = shotState(['--at', '100']).title;
        const level1 = shotState(['--keys', '100:enter', '--at', '300']).title;
        await open(page, `${origin}/page/`);
        await page.waitFor(`document.title === ${JSON.stringify(menu)}`);
        await page.press('Enter', 'Enter', 13);
        await page.waitFor(`document.title === ${JSON.stringify(level1)}`);
        check((await probe(page)).panel, 'the help text is shown');
        await page.press('Enter', 'Enter', 13);
        await page.waitFor('!JSON.parse(Module.UTF8ToString(Module._kx_web_probe())).panel');
        const before = await probe(page);
        await page.press('ArrowDown', 'ArrowDown', 40);
        await page.waitFor('JSON.parse(Module.UTF8ToString(Module._kx_web_probe())).keys > 0');
        await new Promise((r) => setTimeout(r, 600));
        const after = await probe(page);
        check(after.level === 1 && after.keys === before.keys + 1, 'the key reached the worm');
        check(JSON.stringify(after.head) !== JSON.stringify(before.head),
          `the head stayed at ${JSON.stringify(before.head)}`);
        const off = await pixelsOffTheWholePicture(page);
        check(off === 0, `${off} pixels of the played picture differ from the game's`);
        await page.goto('about:blank');
        await open(page, `${origin}/page/`);
        const stored = await page.evaluate("localStorage.getItem('krawlix.profile')");
        check(/\[LastGame\]\s*\r?\nLevel=1/.test(stored || ''), `stored profile: ${stored}`);
      });

    // ?level= with a name the list spells with a letter beyond ASCII; in it Backspace, space,
    // H and R act as in the window.
    await run('?level=NAME starts that level; Backspace, space, H and R act on it', async () => {
      const listed = fs.readFileSync(path.join(__dirname, '../../data/levels/Levels.lst'), 'utf8')
        .split('\n').map((l) => l.trim()).filter((l) => l && !l.startsWith('#'))
        .map((l) => (l.includes('=') ? l.slice(l.indexOf('=') + 1) : l).trim());
      const index = listed.findIndex((name) => /[^\x00-\x7f]/.test(name));
      check(index >= 0, 'a level name beyond ASCII');
      const state = (field) => `JSON.parse(Module.UTF8ToString(Module._kx_web_probe())).${field}`;
      await open(page, `${origin}/page/?level=${encodeURIComponent(listed[index])}`);
      await page.waitFor(`${state('level')} === ${index + 1}`);
      check((await page.evaluate('document.title')).includes(listed[index]), 'the title names it');
      await page.press('Enter', 'Enter', 13);
      await page.waitFor(`!${state('panel')}`);
      const start = await probe(page);
      await page.press('ArrowDown', 'ArrowDown', 40);
      await page.waitFor(`${state('keys')} === 1`);
      await page.press('Backspace', 'Backspace', 8);
      await page.waitFor(`${state('pause')} === 'rewound'`);
      let p = await probe(page);
      check(p.keys === 0 && JSON.stringify(p.head) === JSON.stringify(start.head),
        `rewound to ${JSON.stringify(p)}`);
      await page.press(' ', 'Space', 32);
      await page.waitFor(`${state('pause')} === 'none'`);
      await page.press('h', 'KeyH', 72);
      await page.waitFor(`${state('pause')} === 'hint' && ${state('hint')} !== null`);
      await page.press('h', 'KeyH', 72);
      await page.waitFor(`${state('pause')} === 'none'`);
      await page.press('ArrowDown', 'ArrowDown', 40);
      await page.waitFor(`${state('keys')} === 1`);
      await page.press('r', 'KeyR', 82);
      await page.waitFor(`${state('keys')} === 0`);
      p = await probe(page);
      check(p.level === index + 1 && JSON.stringify(p.head) === JSON.stringify(start.head),
        `restarted to ${JSON.stringify(p)}`);
      const off = await pixelsOffTheWholePicture(page);
      check(off === 0, `${off} pixels after rewind, hint and restart differ from the game's`);
    });

    // (c) Dropped files play as /level: does; a file that is no level plays the fallback.
    const drop = async (name, bytes) => {
      await page.evaluate(`(() => {
        const bytes = Uint8Array.from(atob(${JSON.stringify(bytes.toString('base64'))}),
                                      (c) => c.charCodeAt(0));
        const transfer = new DataTransfer();
        transfer.items.add(new File([bytes], ${JSON.stringify(name)}));
        document.dispatchEvent(new DragEvent('drop', { dataTransfer: transfer, bubbles: true }));
      })()`);
    };
    await run('a dropped level plays as /level: plays it', async () => {
      const copy = path.join(work, 'Eigene Ebene.kxlev');
      fs.copyFileSync(levelFile, copy);
      const state = shotState(['--at', '100', '--', `/level:${copy}`]);
      await open(page, `${origin}/page/`);
      await drop('Eigene Ebene.kxlev', fs.readFileSync(levelFile));
      await page.waitFor(`document.title === ${JSON.stringify(state.title)}`);
      const p = await probe(page);
      check(p.level === 1 && p.head !== null, 'level 1 with a worm');
    });
    await run('a dropped file that is no level plays the fallback field and says why', async () => {
      const bad = path.join(work, 'kaputt.kxlev');
      fs.writeFileSync(bad, 'keine Ebene\n');
      const state = shotState(['--at', '100', '--', `/level:${bad}`]);
      await open(page, `${origin}/page/`);
      await drop('kaputt.kxlev', fs.readFileSync(bad));
      await page.waitFor(`document.title === ${JSON.stringify(state.title)}`);
      const p = await probe(page);
      check(p.panel && state.panel.visible, 'the panel shows the problem, as in shot');
      // The same text but for the folder: the page keeps dropped files in /drop.
      const text = (lines) => lines.map((l) => l.replace(/^\/TEXT\//, '')).join(' ');
      const expected = text(state.panel.lines).split(`${work}/`.replace(/\//g, '//')).join('//drop//');
      check(text(p.lines) === expected, `panel "${text(p.lines)}", shot "${expected}"`);
    });

    // Bad input: no archive, a stored profile that is nonsense or too large.
    await run('a missing archive shows the start-up message on the page', async () => {
      const empty = fs.mkdtempSync(path.join(work, 'empty-'));
      let message = '';
      try {
        execFileSync(tool, ['shot', '--program-dir', empty, '--at', '0'], { stdio: 'pipe' });
      } catch (e) {
        message = e.stderr.toString().trim();
      }
      check(message !== '', 'shot fails without the archive');
      await page.goto(`${origin}/noarchive/`);
      await page.waitFor(
        "(() => { const m = document.getElementById('message'); return m && !m.hidden; })()");
      const shown = await page.evaluate("document.getElementById('message').textContent");
      // The same message but for the folders searched, which are the page's own.
      const first = (text) => text.slice(0, text.indexOf('.') + 1);
      check(first(message).length > 1 && first(shown) === first(message),
        `page says "${shown}", shot "${message}"`);
    });
    await run('nothing stored stops the page from starting', async () => {
      const menu = shotState(['--at', '100']).title;
      const stored = [
        '[LastGame]\nLevel=99999999999\n[Sound]\nMute=ja\n\u0000\uffff[[[\n=\n',
        // Larger than the module's stack, on which a string once went to it.
        '[LastGame]\nLevel=-7\n' + 'x'.repeat(3000000),
      ];
      for (const text of stored) {
        await page.evaluate(`localStorage.setItem('krawlix.profile', ${JSON.stringify(text)})`);
        await open(page, `${origin}/page/`);
        await page.waitFor(`document.title === ${JSON.stringify(menu)}`);
        await page.press('Enter', 'Enter', 13);
        await page.waitFor('JSON.parse(Module.UTF8ToString(Module._kx_web_probe())).level === 1');
      }
    });
  } finally {
    await browser.close();
    server.close();
    fs.rmSync(work, { recursive: true, force: true });
  }
  console.log(`${passed} passed, ${failed} failed`);
  process.exit(failed === 0 ? 0 : 1);
}

main().catch((e) => {
  console.log(`FAILED: ${e.stack}`);
  process.exit(1);
});
