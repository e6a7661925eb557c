// The playground in headless Chromium, used as a person uses it: typing in
// the editor, clicking the controls, opening and downloading files; every
// result held to what vornette-format gives with the same Vornette.ini.
// Usage: node playground.test.mjs VORNETTE_FORMAT SOURCE_DIR [SCREENSHOT.png]
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { existsSync, readFileSync, writeFileSync } from 'node:fs';
import { createServer } from 'node:http';
import { extname, join, resolve } from 'node:path';

import { check, chromiumOptions, report, runFormat, scratch } from '../../tests/harness.mjs';

const [program, sourceDir, screenshot] = process.argv.slice(2).map((p) => resolve(p));
const built = join(sourceDir, 'build', 'web');
let chromium;
try {
  ({ chromium } = await import('playwright-core'));
} catch {}
if (!chromium || !existsSync(join(built, 'app.js')) || !existsSync(chromiumOptions.executablePath) || program.endsWith('.exe')) {
  console.log('needs build/web (scripts/web.sh), web/node_modules and /usr/bin/chromium: skipped');
  process.exit(77);
}

// The page served as a static host serves it.
const types = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm' };
const server = createServer((request, response) => {
  const file = join(built, new URL(request.url, 'http://x').pathname.replace(/\/$/, '/index.html'));
  if (!file.startsWith(built) || !existsSync(file)) return response.writeHead(404).end();
  response.writeHead(200, { 'Content-Type': types[extname(file)] ?? 'application/octet-stream' });
  response.end(readFileSync(file));
});
await new Promise((done) => server.listen(0, '127.0.0.1', done));
const address = `http://127.0.0.1:${server.address().port}/`;

// What vornette-format writes for `bytes` with the Vornette.ini `ini`.
const iniFile = join(scratch('vornette-web-'), 'Vornette.ini');
function formatted(bytes, ini) {
  writeFileSync(iniFile, ini);
  return runFormat(program, ['--config', iniFile], bytes);
}

const browser = await chromium.launch(chromiumOptions);
async function openPage(url = address) {
  const page = await browser.newPage({ viewport: { width: 1400, height: 800 } });
  page.on('pageerror', (error) => console.log(`page error: ${error.message}`));
  await page.goto(url);
  await page.waitForSelector('body[data-ready=true]');
  return page;
}

async function downloaded(page, button) {
  // Chromium drops a download now and then when they follow each other
  // closely (about one in ten, here): a person never clicks that fast.
  await page.waitForTimeout(250);
  const [download] = await Promise.all([page.waitForEvent('download'), page.click(button)]);
  return readFileSync(await download.path());
}

async function openFile(page, name, bytes) {
  const status = await page.textContent('#status');
  await page.setInputFiles('#open-file', { name, mimeType: 'text/plain', buffer: Buffer.from(bytes) });
  await page.waitForFunction((before) => document.querySelector('#status').textContent !== before, status);
}

// The page's result and its Vornette.ini, and what vornette-format makes of
// `source` with that Vornette.ini.
async function agree(page, source) {
  const ini = await downloaded(page, '#download-ini');
  const result = await downloaded(page, '#download-formatted');
  assert.deepEqual(result, formatted(source, ini));
  return { ini: ini.toString(), result };
}

const sample = readFileSync(join(sourceDir, 'examples', 'pick.src'));
const shipped = readFileSync(join(sourceDir, 'Vornette.ini'));
// A program on which every setting changes something.
const program1 = Buffer.from([
  'GLOBAL DEF main( )', ';fold setup', '; column one', 'x=1   ', 'longer.name=2', '$out[1]=true',
  ';endfold', 'spline', 'spl p1', 'endspline', 'if x==1 then', 'ptp home', 'endif', 'END', '',
].join('\n'));

try {
  const page = await openPage();
  if (screenshot) await page.screenshot({ path: screenshot });

  await check('the sample, shown and downloaded, is what vornette-format makes of it', async () => {
    const { ini, result } = await agree(page, sample);
    assert.deepEqual(result, formatted(sample, shipped));
    assert.match(ini, /^IndentWidth=2$/m);
    assert.match(await page.textContent('#formatted'), /IF \$IN\[1\] == TRUE AND count < 5 THEN/);
  });

  await check('the changes view shows what formatting changed', async () => {
    await page.click('[data-tab=changes]');
    await page.waitForSelector('#changes .cm-deletedChunk');
    assert.match(await page.textContent('#changes .cm-deletedChunk'), /if \$in\[1\]==true/);
    await page.click('[data-tab=formatted]');
  });

  await check('typed text is formatted as it is typed', async () => {
    await page.click('#source .cm-content');
    await page.keyboard.press('Control+End');
    await page.keyboard.type('if x==1 then');
    await page.keyboard.press('Enter');
    await page.keyboard.type('x=2');
    await page.waitForFunction(() => /\bX = 2\b/.test(document.querySelector('#formatted').textContent));
    // The sample ends with CR LF, so what was typed joins with CR LF too.
    await agree(page, Buffer.concat([sample, Buffer.from('if x==1 then\r\nx=2')]));
  });

  await check('block warnings are listed and marked as you type, as vornette-format prints them', async () => {
    // What was typed so far leaves an IF open.
    const typed = Buffer.concat([sample, Buffer.from('if x==1 then\r\nx=2')]);
    writeFileSync(iniFile, (await agree(page, typed)).ini);
    const printed = spawnSync(program, ['--warnings', '--config', iniFile, '--stdin-filename', 'x.src'], { input: typed });
    const expected = printed.stderr.toString().split('\n').filter(Boolean)
      .map((line) => line.replace(/^x\.src:(\d+):\d+: warning: /, 'Line $1: '));
    assert.ok(expected.length > 0);
    await page.waitForSelector('#source .cm-lint-marker-warning');
    assert.deepEqual(await page.$$eval('#warnings li', (items) => items.map((item) => item.textContent)), expected);
    await page.click('#source .cm-content');
    await page.keyboard.press('Control+End');
    await page.keyboard.press('Enter');
    await page.keyboard.type('endif');
    await page.waitForSelector('#warnings', { state: 'hidden' });
    await page.waitForSelector('#source .cm-lint-marker-warning', { state: 'detached' });
    // Behind a byte-order mark, the mark is no character of the editor's text.
    await openFile(page, 'marked.src', Buffer.from('\xEF\xBB\xBFENDIF\r\n', 'latin1'));
    assert.deepEqual(await page.$$eval('#warnings li', (items) => items.map((item) => item.textContent)),
                     ['Line 1: ENDIF after the byte-order mark is indented as a block only with ExtendedBlocks=1',
                      'Line 1: ENDIF closes no open block']);
    await page.waitForSelector('#source .cm-lintRange-warning');
    assert.equal(await page.textContent('#source .cm-lintRange-warning'), 'ENDIF');
  });

  await check('every setting changes the result as it changes vornette-format\'s', async () => {
    await openFile(page, 'program.src', program1);
    let before = (await agree(page, program1)).result;
    // Each control in turn: a number, selections, then every switch.
    const steps = [['IndentWidth', (p) => p.fill('[name=IndentWidth]', '5')],
                   ...[['CAP_ProgramFlowStrings', 'LowerCase'], ['CAP_MotionCommandStrings', 'None'],
                       ['LineEnding', 'LF']].map(([key, value]) => [key, (p) => p.selectOption(`[name=${key}]`, value)]),
                   ...['SpacingOperators', 'TrimTrailingBlanks', 'AlignAssignments', 'ExtendedBlocks',
                       'IndentRoutineBodies', 'KeepColumnOneComments', 'IndentFolds']
                       .map((key) => [key, (p) => p.click(`[name=${key}]`)])];
    for (const [key, change] of steps) {
      await change(page);
      const { ini, result } = await agree(page, program1).catch((error) => {
        throw new Error(`after ${key}: ${error.message}`);
      });
      assert.notDeepEqual(result, before, `${key} changed nothing:\n${ini}`);
      before = result;
    }
  });

  await check('a loaded Vornette.ini sets the controls', async () => {
    await page.setInputFiles('#load-ini', { name: 'Vornette.ini', mimeType: 'text/plain', buffer: Buffer.from(
        '[Indent]\r\nindentwidth = 0x3\r\nIndentFolds=0\r\n[Spacing]\r\nAlignAssignments=1\r\n' +
        '[Capitalization]\r\nCAP_IOCommandStrings=lowercase\r\n[Output]\r\nLineEnding=auto\r\n') });
    await page.waitForFunction(() => document.querySelector('[name=IndentWidth]').value === '3');
    const state = async (name) => String(await page.$eval(`[name=${name}]`, (e) => e.type === 'checkbox' ? e.checked : e.value));
    // SpacingOperators is absent: its default.
    const expected = { IndentFolds: 'false', AlignAssignments: 'true', SpacingOperators: 'true',
                       CAP_IOCommandStrings: 'LowerCase', CAP_ProgramFlowStrings: 'None', LineEnding: 'Auto' };
    for (const [name, value] of Object.entries(expected)) assert.equal(await state(name), value, name);
    await agree(page, program1);
  });

  await check('the link restores settings and program in a fresh page', async () => {
    await page.click('[name=TrimTrailingBlanks]');
    const { ini, result } = await agree(page, program1);
    await page.waitForSelector('body[data-linked=true]');
    const fresh = await openPage(await page.evaluate(() => location.href));
    assert.equal((await downloaded(fresh, '#download-ini')).toString(), ini);
    assert.deepEqual(await downloaded(fresh, '#download-formatted'), result);
    await fresh.close();
  });

  await check('every byte but NUL, CR and LF comes back as it went in, also after typing', async () => {
    await page.setInputFiles('#load-ini', { name: 'Vornette.ini', mimeType: 'text/plain', buffer: shipped });
    const bytes = Buffer.concat([Buffer.from('x=1 ; '), Buffer.from(Array.from({ length: 255 }, (_, i) => i + 1)
                                                                    .filter((b) => b !== 10 && b !== 13)),
                                 Buffer.from('\r\n')]);
    await openFile(page, 'all.src', bytes);
    await agree(page, bytes);
    await page.click('#source .cm-content');
    await page.keyboard.press('Control+End');
    await page.keyboard.type('y=2');
    await page.waitForFunction(() => /\bY = 2\b/.test(document.querySelector('#formatted').textContent));
    await agree(page, Buffer.concat([bytes, Buffer.from('y=2')]));
  });

  await check('a file with a NUL byte shows why it is not formatted', async () => {
    await openFile(page, 'binary.src', Buffer.from('x=1\r\n\0\r\n'));
    assert.match(await page.textContent('#error'), /NUL/);
    assert.equal(await page.isVisible('#error'), true);
    assert.equal(await page.isDisabled('#download-formatted'), true);
  });

} finally {
  await browser.close();
  server.close();
}
report();
