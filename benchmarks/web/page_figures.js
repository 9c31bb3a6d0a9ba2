// The page's figures in headless Chromium: its size, the time from loading to the first
// picture over the loopback, and the CPU time a running level costs.
//   node benchmarks/web/page_figures.js PAGE_DIR [CHROMIUM] [LOADS]
'use strict';
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');
const { Browser } = require('../../tests/web/cdp');

const pageDir = path.resolve(process.argv[2] || 'build-web');
const chromium = process.argv[3] || 'chromium';
const loads = Math.max(1, Number(process.argv[4]) || 15);

function serve() {
  const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm' };
  const server = http.createServer((request, response) => {
    let name = new URL(request.url, 'http://x').pathname;
    if (name === '/') name = '/index.html';
    const file = path.join(pageDir, path.normalize(name));
    if (!file.startsWith(pageDir) || !fs.existsSync(file)) {
      response.writeHead(404);
      response.end();
      return;
    }
    response.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream' });
    response.end(fs.readFileSync(file));
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

// user + system time of the browser's processes, in seconds.
function browserCpuSeconds(rootPid) {
  const tick = 100; // USER_HZ on Linux
  let total = 0;
  for (const pid of fs.readdirSync('/proc').filter((p) => /^\d+$/.test(p))) {
    let stat;
    try { stat = fs.readFileSync(`/proc/${pid}/stat`, 'utf8'); } catch (e) { continue; }
    const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
    let cmd = '';
    try { cmd = fs.readFileSync(`/proc/${pid}/cmdline`, 'utf8'); } catch (e) { continue; }
    if (Number(pid) === rootPid || (cmd.includes('chromium') && cmd.includes('kx-chromium-')))
      total += (Number(fields[11]) + Number(fields[12])) / tick;
  }
  return total;
}

async function main() {
  const files = fs.readdirSync(pageDir);
  let bytes = 0;
  for (const f of files) bytes += fs.statSync(path.join(pageDir, f)).size;
  console.log(`page: ${files.sort().join(', ')}: ${bytes} bytes (${(bytes / 1048576).toFixed(2)} MiB)`);

  const server = await serve();
  const url = `http://127.0.0.1:${server.address().port}/`;
  const browser = await Browser.launch(chromium, ['--window-size=800,800']);
  try {
    const page = await browser.newPage();
    await page.send('Network.enable');
    await page.send('Network.setCacheDisabled', { cacheDisabled: true });
    // Where the time goes: the page's marks and the files' arrival, in ms from the start of
    // the navigation.
    const steps = {};
    const load0 = os.loadavg()[0];
    for (let i = 0; i < loads; ++i) {
      await page.goto('about:blank');
      await page.goto(url);
      await page.waitFor("performance.getEntriesByName('kx-first-frame').length");
      const at = await page.evaluate(`(() => {
        const at = { 'page arrived': performance.getEntriesByType('navigation')[0].responseEnd };
        for (const r of performance.getEntriesByType('resource'))
          at[r.name.split('/').pop() + ' arrived'] = r.responseEnd;
        for (const m of performance.getEntriesByType('mark'))
          if (m.name.startsWith('kx-')) at[m.name.slice(3)] = m.startTime;
        return at;
      })()`);
      for (const [step, ms] of Object.entries(at)) (steps[step] = steps[step] || []).push(ms);
    }
    const median = (list) => list.sort((a, b) => a - b)[list.length >> 1];
    const order = Object.keys(steps).sort((a, b) => median(steps[a]) - median(steps[b]));
    for (const step of order)
      console.log(`  ${step.padEnd(24)} median ${median(steps[step]).toFixed(0).padStart(5)} ms`);
    const times = steps['first-picture'];
    console.log(`load to first picture (${loads} loads, cache off, load average ` +
      `${load0.toFixed(2)} to ${os.loadavg()[0].toFixed(2)}): ` +
      `median ${median(times).toFixed(0)} ms, ` +
      `min ${times[0].toFixed(0)} ms, max ${times[times.length - 1].toFixed(0)} ms; ` +
      `the frame that shows it: median ${median(steps['first-frame']).toFixed(0)} ms`);

    await page.press('Enter', 'Enter', 13); // level 1
    await page.waitFor('/Ebene 1/.test(document.title)');
    await page.press('Enter', 'Enter', 13); // the help text closed: the level runs
    await new Promise((r) => setTimeout(r, 1000));
    await page.send('Performance.enable');
    const metric = async () => {
      const { metrics } = await page.send('Performance.getMetrics');
      return Object.fromEntries(metrics.map((m) => [m.name, m.value]));
    };
    const seconds = 10;
    const m0 = await metric();
    const cpu0 = browserCpuSeconds(browser.child.pid);
    const t0 = Date.now();
    await new Promise((r) => setTimeout(r, seconds * 1000));
    const m1 = await metric();
    const cpu1 = browserCpuSeconds(browser.child.pid);
    const wall = (Date.now() - t0) / 1000;
    const main = (m1.TaskDuration - m0.TaskDuration) / wall;
    const script = (m1.ScriptDuration - m0.ScriptDuration) / wall;
    console.log(`level 1 running ${wall.toFixed(1)} s: page main thread busy ${(main * 100).toFixed(1)} %` +
      ` (script ${(script * 100).toFixed(1)} %), all browser processes ` +
      `${((cpu1 - cpu0) / wall * 100).toFixed(1)} % of one core`);
  } finally {
    await browser.close();
    server.close();
  }
}

main().catch((e) => { console.error(e); process.exit(1); });
