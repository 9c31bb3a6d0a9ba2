// A small client of Chromium's DevTools protocol over --remote-debugging-pipe (messages as
// JSON, each ended by a NUL byte, written to the browser's fd 3 and read from its fd 4).
'use strict';
const { spawn } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

const kFlags = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync',
  '--remote-debugging-pipe'];

class Browser {
  // extraFlags: e.g. a window size. A new profile folder every time, removed by close().
  static async launch(executable, extraFlags = []) {
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'kx-chromium-'));
    const child = spawn(executable, [...kFlags, `--user-data-dir=${profile}`, ...extraFlags,
      'about:blank'], { stdio: ['ignore', 'ignore', 'pipe', 'pipe', 'pipe'] });
    const browser = new Browser(child, profile);
    await browser.send('Target.getTargets');
    return browser;
  }

  constructor(child, profile) {
    this.child = child;
    this.profile = profile;
    this.nextId = 1;
    this.waiting = new Map();
    this.listeners = [];
    this.stderr = '';
    child.stderr.on('data', (d) => { this.stderr = (this.stderr + d).slice(-4000); });
    let buffered = Buffer.alloc(0);
    child.stdio[4].on('data', (chunk) => {
      buffered = Buffer.concat([buffered, chunk]);
      let end;
      while ((end = buffered.indexOf(0)) >= 0) {
        const message = JSON.parse(buffered.subarray(0, end).toString('utf8'));
        buffered = buffered.subarray(end + 1);
        this.dispatch(message);
      }
    });
    this.exited = new Promise((resolve) => child.on('exit', resolve));
    this.exited.then(() => {
      for (const { reject } of this.waiting.values())
        reject(new Error('the browser ended: ' + this.stderr));
      this.waiting.clear();
    });
  }

  dispatch(message) {
    if (message.id !== undefined) {
      const entry = this.waiting.get(message.id);
      if (!entry) return;
      this.waiting.delete(message.id);
      if (message.error) entry.reject(new Error(`${entry.method}: ${message.error.message}`));
      else entry.resolve(message.result);
      return;
    }
    for (const listener of this.listeners) listener(message);
  }

  send(method, params = {}, sessionId = undefined) {
    const id = this.nextId++;
    const message = { id, method, params };
    if (sessionId) message.sessionId = sessionId;
    return new Promise((resolve, reject) => {
      this.waiting.set(id, { resolve, reject, method });
      this.child.stdio[3].write(JSON.stringify(message) + '\0');
    });
  }

  async newPage() {
    const { targetId } = await this.send('Target.createTarget', { url: 'about:blank' });
    const { sessionId } = await this.send('Target.attachToTarget', { targetId, flatten: true });
    const page = new Page(this, sessionId);
    await page.send('Page.enable');
    await page.send('Runtime.enable');
    return page;
  }

  async close() {
    try {
      await Promise.race([this.send('Browser.close'), this.exited]);
    } catch (e) { /* already gone */ }
    await Promise.race([this.exited, new Promise((r) => setTimeout(r, 3000))]);
    if (this.child.exitCode === null) this.child.kill('SIGKILL');
    fs.rmSync(this.profile, { recursive: true, force: true });
  }
}

class Page {
  constructor(browser, sessionId) {
    this.browser = browser;
    this.sessionId = sessionId;
    this.console = [];
    browser.listeners.push((m) => {
      if (m.sessionId !== sessionId) return;
      if (m.method === 'Runtime.exceptionThrown')
        this.console.push('exception: ' + JSON.stringify(m.params.exceptionDetails));
      if (m.method === 'Runtime.consoleAPICalled')
        this.console.push(m.params.args.map((a) => a.value).join(' '));
    });
  }

  send(method, params = {}) { return this.browser.send(method, params, this.sessionId); }

  async evaluate(expression) {
    const r = await this.send('Runtime.evaluate',
      { expression, returnByValue: true, awaitPromise: true });
    if (r.exceptionDetails)
      throw new Error(`${expression}: ${JSON.stringify(r.exceptionDetails)}`);
    return r.result.value;
  }

  // Polls until the expression is truthy; its value, or an error after timeoutMs.
  async waitFor(expression, timeoutMs = 10000) {
    const until = Date.now() + timeoutMs;
    for (;;) {
      const value = await this.evaluate(expression);
      if (value) return value;
      if (Date.now() > until)
        throw new Error(`waited ${timeoutMs} ms for ${expression}; console: ${this.console.join(' / ')}`);
      await new Promise((r) => setTimeout(r, 20));
    }
  }

  async goto(url) {
    await this.send('Page.navigate', { url });
  }

  // A key press as a person makes it: keyDown and keyUp.
  async press(key, code, keyCode) {
    const base = { key, code, windowsVirtualKeyCode: keyCode, nativeVirtualKeyCode: keyCode };
    await this.send('Input.dispatchKeyEvent', { type: 'rawKeyDown', ...base });
    await this.send('Input.dispatchKeyEvent', { type: 'keyUp', ...base });
  }
}

module.exports = { Browser };
