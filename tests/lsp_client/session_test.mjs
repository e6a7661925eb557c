// Drives `vornette-format --lsp` with the JSON-RPC library of VS Code's own
// language client, as an editor does: sessions in UTF-16 and in UTF-8
// positions with incremental edits, formatting of a document, of a range, of
// several ranges and of a line just ended, each result held to what
// vornette-format gives the same text. (Headless Neovim formats the sample
// programs through a real client.)
// Usage: node session_test.js VORNETTE_FORMAT SOURCE_DIR
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import { mkdirSync, readFileSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { join, resolve } from 'node:path';
import { pathToFileURL } from 'node:url';

import { check, command, report, runFormat, scratch, wineEnv } from '../harness.mjs';

let rpc, TextDocument;
try {
  const require = createRequire(import.meta.url);
  rpc = require('vscode-languageserver-protocol/node');
  ({ TextDocument } = require('vscode-languageserver-textdocument'));
} catch {
  console.log('no node_modules (npm ci in tests/lsp_client): skipped');
  process.exit(77);
}
const [program, sourceDir] = process.argv.slice(2).map((p) => resolve(p));

// Settings that differ from the shipped ones, in a folder whose name is not
// ASCII, so that a server which missed them or misread the path is caught.
const work = scratch('vornette-lsp-');
const cell = join(work, 'zelle ä');
mkdirSync(cell);
writeFileSync(join(cell, 'Vornette.ini'),
              readFileSync(join(sourceDir, 'Vornette.ini'), 'latin1')
                  .replace('IndentWidth=2', 'IndentWidth=3')
                  .replace('CAP_ProgramFlowStrings=UpperCase', 'CAP_ProgramFlowStrings=LowerCase'));

// What vornette-format writes for `text` saved as `file`, with `--lines` ranges.
const formatted = (text, file, lines = []) =>
  runFormat(program, [...lines.flatMap((r) => ['--lines', r]), '--stdin-filename', file], text, { cwd: work });

const linesOf = (text) => text.replace(/(\r\n|\r|\n)$/, '').split(/\r\n|\r|\n/);

// A document as the client holds it: VS Code's own TextDocument, with
// positions in the session's units.
class Mirror {
  constructor(text, encoding) {
    this.utf8 = encoding === 'utf-8';
    this.document = TextDocument.create('file:///mirror', 'krl', 1, text);
  }
  text() { return this.document.getText(); }
  units(line) { return (this.utf8 ? Buffer.byteLength : (l) => l.length)(linesOf(this.text())[line]); }
  // Applies change events of the client, or the server's edits, from the last line up.
  apply(changes) {
    const utf16 = ({ line, character }) => ({ line, character: this.utf8
      ? Buffer.from(linesOf(this.text())[line] ?? '').subarray(0, character).toString().length : character });
    for (const c of [...changes].sort((a, b) => b.range.start.line - a.range.start.line)) {
      const range = { start: utf16(c.range.start), end: utf16(c.range.end) };
      this.document = TextDocument.update(this.document, [{ range, text: c.text ?? c.newText }],
                                          this.document.version + 1);
    }
  }
}

async function start(encodings) {
  const [exe, args] = command(program, ['--lsp']);
  const child = spawn(exe, args, { cwd: work, env: wineEnv });
  const exited = new Promise((resolve) => child.on('exit', resolve));
  const connection = rpc.createProtocolConnection(new rpc.StreamMessageReader(child.stdout),
                                                  new rpc.StreamMessageWriter(child.stdin));
  connection.listen();
  const result = await connection.sendRequest(rpc.InitializeRequest.type, {
    processId: process.pid, rootUri: pathToFileURL(work).href,
    capabilities: encodings ? { general: { positionEncodings: encodings } } : {},
  });
  await connection.sendNotification(rpc.InitializedNotification.type, {});
  return { connection, result, exited };
}

// One edit per line, from character 0 to the line's end, never over a line end.
function checkLineEdits(mirror, edits) {
  for (const { range, newText } of edits) {
    assert.equal(range.start.line, range.end.line);
    assert.equal(range.start.character, 0);
    assert.equal(range.end.character, mirror.units(range.start.line));
    assert.doesNotMatch(newText, /[\r\n]/);
  }
}

// Non-ASCII text in a comment and a string, a character beyond U+FFFF among
// it, so that UTF-16 and UTF-8 positions differ on those lines.
const sample = ['def pick( )', 'decl int count ; zähler 😀', 'count=0', 'for i=1 to 10',
                'if $in[1]==true and count<5 then', 'msg="grüße 😀 aus der zelle"', 'count=count+1',
                'else', 'halt', 'endif', 'endfor', 'end', ''].join('\r\n');

async function session(encoding) {
  const { connection, result, exited } = await start([encoding]);
  assert.equal(result.capabilities.positionEncoding, encoding);
  const file = join(cell, `pick-${encoding}.src`);
  writeFileSync(file, sample);
  const textDocument = { uri: pathToFileURL(file).href };
  const options = { tabSize: 8, insertSpaces: false };
  const mirror = new Mirror(sample, encoding);
  let version = 1;
  const change = async (contentChanges) => {
    mirror.apply(contentChanges);
    await connection.sendNotification(rpc.DidChangeTextDocumentNotification.type,
                                      { textDocument: { ...textDocument, version: ++version }, contentChanges });
  };
  // As an editor does: the edits applied, and sent back as a change.
  const request = async (type, params, lines) => {
    const edits = await connection.sendRequest(type, { textDocument, options, ...params });
    checkLineEdits(mirror, edits);
    await change(edits.map((e) => ({ range: e.range, text: e.newText })));
    if (lines) assert.equal(mirror.text(), formatted(mirror.text(), file, lines).toString());
    return edits;
  };
  await connection.sendNotification(rpc.DidOpenTextDocumentNotification.type,
                                    { textDocument: { ...textDocument, languageId: 'krl', version, text: sample } });
  const end = (line) => ({ line, character: mirror.units(line) });
  await check(`${encoding}: typing lands where it was typed`, async () => {
    await change([{ range: { start: end(1), end: end(1) }, text: ' ende' },
                  { range: { start: end(5), end: end(5) }, text: '\r\nwait for $in[2]' },
                  { range: { start: { line: 4, character: 9 }, end: { line: 4, character: 11 } }, text: '<>' }]);
    assert.match(mirror.text(), /zähler 😀 ende\r\n.*\$in\[1\]<>true.*zelle"\r\nwait for \$in\[2\]\r\n/s);
  });
  await check(`${encoding}: a range`, () =>
    request(rpc.DocumentRangeFormattingRequest.type,
            { range: { start: { line: 3, character: 2 }, end: { line: 6, character: 0 } } }, ['4:6']));
  await check(`${encoding}: several ranges`, () =>
    request(rpc.DocumentRangesFormattingRequest.type,
            { ranges: [{ start: { line: 0, character: 0 }, end: { line: 0, character: 3 } },
                       { start: { line: 9, character: 0 }, end: { line: 11, character: 1 } }] },
            ['1:1', '10:12']));
  await check(`${encoding}: the whole document`, async () => {
    await request(rpc.DocumentFormattingRequest.type, {}, []);
    assert.deepEqual(await request(rpc.DocumentFormattingRequest.type, {}), []);
  });
  await check(`${encoding}: Enter after endif`, async () => {
    const at = linesOf(mirror.text()).indexOf('   endfor');
    await change([{ range: { start: { line: at, character: 0 }, end: { line: at, character: 0 } },
                    text: 'if count>9 then\r\nhalt\r\n         endif\r\n\t \r\n' }]);
    await request(rpc.DocumentOnTypeFormattingRequest.type,
                  { position: { line: at + 3, character: 2 }, ch: '\n' });
    // The finished line moves out, the new one is indented, nothing else changes.
    assert.deepEqual(linesOf(mirror.text()).slice(at, at + 4),
                     ['if count>9 then', 'halt', '      endif', '      ']);
  });
  await check(`${encoding}: shutdown and exit`, async () => {
    await connection.sendRequest(rpc.ShutdownRequest.type);
    await connection.sendNotification(rpc.ExitNotification.type);
    assert.equal(await exited, 0);
  });
  connection.dispose();
}

await session('utf-16');
await session('utf-8');
report();
