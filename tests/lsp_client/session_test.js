// Drives `vornette-format --lsp` with the JSON-RPC library of VS Code's own
// language client, as an editor does: whole sessions in UTF-16 and in UTF-8
// positions, incremental edits, formatting of a document, of a range, of
// several ranges and of a line just ended, and every result held to what
// vornette-format gives the same text on the command line.
// Usage: node session_test.js VORNETTE_FORMAT SOURCE_DIR
'use strict';

const assert = require('node:assert/strict');
const childProcess = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const url = require('node:url');
let rpc, TextDocument;
try {
  rpc = require('vscode-languageserver-protocol/node');
  ({ TextDocument } = require('vscode-languageserver-textdocument'));
} catch (error) {
  console.log('no node_modules (npm ci in tests/lsp_client): skipped');
  process.exit(77);
}

const [formatProgram, sourceDir] = process.argv.slice(2).map((p) => path.resolve(p));
const onWindows = formatProgram.endsWith('.exe');

// The command that runs vornette-format (the Windows build through Wine).
function command(args) {
  return onWindows ? ['wine', [formatProgram, ...args]] : [formatProgram, args];
}
const environment = { ...process.env, WINEDEBUG: '-all' };

// A folder of our own, with a name that is not ASCII, and settings there
// that differ from the shipped ones, so that a server which missed them is
// caught.
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'vornette-lsp-'));
process.on('exit', () => fs.rmSync(work, { recursive: true, force: true }));
const cell = path.join(work, 'zelle ä');
fs.mkdirSync(cell);
const shipped = fs.readFileSync(path.join(sourceDir, 'Vornette.ini'), 'latin1');
fs.writeFileSync(path.join(cell, 'Vornette.ini'),
                 shipped.replace('IndentWidth=2', 'IndentWidth=3')
                     .replace('CAP_ProgramFlowStrings=UpperCase', 'CAP_ProgramFlowStrings=LowerCase'));

// What vornette-format writes for `bytes` saved as `file`, with `--lines`
// ranges when given.
function formatted(bytes, file, lines = []) {
  const [program, args] =
      command([...lines.flatMap((r) => ['--lines', `${r[0]}:${r[1]}`]), '--stdin-filename', file]);
  const result =
      childProcess.spawnSync(program, args, { input: bytes, cwd: work, env: environment });
  assert.equal(result.status, 0, `vornette-format: ${result.stderr}`);
  return result.stdout;
}

// Lines without their ends: what the editor and vornette-format must agree on.
function linesOf(text) {
  const lines = text.split(/\r\n|\r|\n/);
  if (lines.length > 1 && lines[lines.length - 1] === '') lines.pop();
  return lines;
}

// A document as the client holds it, in the session's position unit.
// UTF-16 documents are VS Code's own TextDocument; UTF-8 ones are bytes.
class Mirror {
  constructor(uri, text, encoding) {
    this.encoding = encoding;
    this.document = TextDocument.create(uri, 'krl', 1, text);
    this.bytes = Buffer.from(text, 'utf8');
  }
  text() { return this.encoding === 'utf-16' ? this.document.getText() : this.bytes.toString('utf8'); }
  // The byte offset of a position counted in UTF-8 bytes.
  byteOffset(position) {
    let at = 0;
    for (let line = 0; line < position.line; ++line) {
      while (at < this.bytes.length && this.bytes[at] !== 0x0a && this.bytes[at] !== 0x0d) ++at;
      at += this.bytes[at] === 0x0d && this.bytes[at + 1] === 0x0a ? 2 : 1;
    }
    return at + position.character;
  }
  // Applies edits, as a change of the client or a result of the server.
  apply(edits) {
    if (edits.length === 0) return;
    if (this.encoding === 'utf-16') {
      const version = this.document.version + 1;
      this.document = 'newText' in edits[0]
          ? TextDocument.create(this.document.uri, 'krl', version,
                                TextDocument.applyEdits(this.document, edits))
          : TextDocument.update(this.document, edits, version);
      return;
    }
    for (const edit of edits) {
      const start = this.byteOffset(edit.range.start), end = this.byteOffset(edit.range.end);
      this.bytes = Buffer.concat([this.bytes.subarray(0, start), Buffer.from(edit.text ?? edit.newText),
                                  this.bytes.subarray(end)]);
    }
  }
  // The length of line `line` in the session's unit.
  lineLength(line) {
    const text = linesOf(this.text())[line];
    return this.encoding === 'utf-16' ? text.length : Buffer.byteLength(text);
  }
}

// Edits of a formatting result: one per line, from character 0 to the
// line's end, never over a line end.
function checkLineEdits(mirror, edits) {
  for (const edit of edits) {
    const { start, end } = edit.range;
    assert.equal(start.line, end.line, 'an edit spans one line');
    assert.equal(start.character, 0, 'an edit starts at character 0');
    assert.equal(end.character, mirror.lineLength(start.line), 'an edit ends at its line end');
    assert.doesNotMatch(edit.newText, /[\r\n]/, 'an edit holds no line end');
  }
}

let checks = 0;
let failures = 0;
async function check(name, body) {
  try {
    await body();
    ++checks;
  } catch (error) {
    ++failures;
    console.log(`FAIL ${name}: ${error.stack}`);
  }
}

// One server and the connection to it.
async function start() {
  const [program, args] = command(['--lsp']);
  const child = childProcess.spawn(program, args, { cwd: work, env: environment });
  const exited = new Promise((resolve) => child.on('exit', (code) => resolve(code)));
  const connection = rpc.createProtocolConnection(new rpc.StreamMessageReader(child.stdout),
                                                  new rpc.StreamMessageWriter(child.stdin));
  const logs = [];
  connection.onNotification(rpc.LogMessageNotification.type, (params) => logs.push(params));
  connection.listen();
  return { child, exited, connection, logs };
}

async function initialize(server, encodings) {
  const general = encodings ? { positionEncodings: encodings } : undefined;
  const result = await server.connection.sendRequest(rpc.InitializeRequest.type, {
    processId: process.pid,
    rootUri: url.pathToFileURL(work).href,
    workspaceFolders: [{ uri: url.pathToFileURL(work).href, name: 'work' }],
    capabilities: { general },
  });
  await server.connection.sendNotification(rpc.InitializedNotification.type, {});
  return result;
}

async function stop(server, expectedStatus = 0) {
  if (expectedStatus === 0) await server.connection.sendRequest(rpc.ShutdownRequest.type);
  await server.connection.sendNotification(rpc.ExitNotification.type);
  assert.equal(await server.exited, expectedStatus);
  server.connection.dispose();
}

// A program with non-ASCII text in a comment and a string, one character of
// it beyond U+FFFF, so that UTF-16 and UTF-8 positions differ on its lines.
const program = [
  'def pick( )', 'decl int count ; zähler 😀', 'count=0', 'for i=1 to 10',
  'if $in[1]==true and count<5 then', 'msg="grüße 😀 aus der zelle"', 'count=count+1',
  'else', 'halt', 'endif', 'endfor', 'end', '',
].join('\r\n');

async function session(encoding) {
  const server = await start();
  const file = path.join(cell, `pick-${encoding}.src`);
  fs.writeFileSync(file, program);
  const uri = url.pathToFileURL(file).href;
  const mirror = new Mirror(uri, program, encoding);
  const textDocument = { uri };
  const options = { tabSize: 8, insertSpaces: false };
  let version = 1;
  // As an editor does: the server's edits applied, then sent back as a change.
  const applyEdits = async (edits) => {
    mirror.apply(edits);
    const contentChanges = [...edits]
        .sort((a, b) => b.range.start.line - a.range.start.line)
        .map((edit) => ({ range: edit.range, text: edit.newText }));
    await server.connection.sendNotification(rpc.DidChangeTextDocumentNotification.type,
                                             { textDocument: { uri, version: ++version }, contentChanges });
  };
  const expectFormatted = (lines) =>
      assert.equal(mirror.text(), formatted(Buffer.from(mirror.text()), file, lines).toString());

  await check(`${encoding}: a request before initialize is refused`, async () => {
    await assert.rejects(server.connection.sendRequest(rpc.DocumentFormattingRequest.type,
                                                       { textDocument, options }),
                         (error) => error.code === rpc.LSPErrorCodes.ServerNotInitialized ||
                                    error.code === -32002);
  });
  const result = await initialize(server, [encoding]);
  await check(`${encoding}: capabilities`, () => {
    assert.equal(result.capabilities.positionEncoding, encoding);
    assert.equal(result.serverInfo.name, 'vornette-format');
    assert.equal(result.capabilities.textDocumentSync.change, rpc.TextDocumentSyncKind.Incremental);
    assert.deepEqual(result.capabilities.documentRangeFormattingProvider, { rangesSupport: true });
    assert.equal(result.capabilities.documentOnTypeFormattingProvider.firstTriggerCharacter, '\n');
  });
  await server.connection.sendNotification(rpc.DidOpenTextDocumentNotification.type, {
    textDocument: { uri, languageId: 'krl', version: 1, text: program },
  });

  // Typing, in the session's unit: a word behind the 😀 of the comment, a
  // new line behind the string, a comparison changed in the middle.
  const changes = [
    { range: { start: { line: 1, character: mirror.lineLength(1) },
               end: { line: 1, character: mirror.lineLength(1) } }, text: ' ende' },
    { range: { start: { line: 5, character: mirror.lineLength(5) },
               end: { line: 5, character: mirror.lineLength(5) } },
      text: '\r\nwait for $in[2]' },
    { range: { start: { line: 4, character: 9 }, end: { line: 4, character: 11 } }, text: '<>' },
  ];
  for (const change of changes) mirror.apply([change]);
  await server.connection.sendNotification(rpc.DidChangeTextDocumentNotification.type,
                                           { textDocument: { uri, version: ++version }, contentChanges: changes });
  await check(`${encoding}: the typed text landed where it was typed`, () => {
    assert.match(mirror.text(), /zähler 😀 ende\r\n/);
    assert.match(mirror.text(), /aus der zelle"\r\nwait for \$in\[2\]\r\n/);
    assert.match(mirror.text(), /\$in\[1\]<>true/);
  });

  await check(`${encoding}: range formatting takes the lines the range covers`, async () => {
    const range = { start: { line: 3, character: 2 }, end: { line: 6, character: 0 } };
    const edits = await server.connection.sendRequest(rpc.DocumentRangeFormattingRequest.type,
                                                      { textDocument, range, options });
    assert.ok(edits.length > 0);
    checkLineEdits(mirror, edits);
    await applyEdits(edits);
    expectFormatted([[4, 6]]);
  });

  await check(`${encoding}: several ranges in one request`, async () => {
    const ranges = [{ start: { line: 0, character: 0 }, end: { line: 0, character: 3 } },
                    { start: { line: 9, character: 0 }, end: { line: 11, character: 1 } }];
    const edits = await server.connection.sendRequest(rpc.DocumentRangesFormattingRequest.type,
                                                      { textDocument, ranges, options });
    assert.ok(edits.length > 0);
    checkLineEdits(mirror, edits);
    await applyEdits(edits);
    expectFormatted([[1, 1], [10, 12]]);
  });

  await check(`${encoding}: the whole document`, async () => {
    const edits = await server.connection.sendRequest(rpc.DocumentFormattingRequest.type,
                                                      { textDocument, options });
    assert.ok(edits.length > 0);
    checkLineEdits(mirror, edits);
    await applyEdits(edits);
    expectFormatted();
    const again = await server.connection.sendRequest(rpc.DocumentFormattingRequest.type,
                                                      { textDocument, options });
    assert.deepEqual(again, []);
  });

  await check(`${encoding}: Enter after endif moves it out and indents the new line`, async () => {
    // "      endif" typed at the end of the FOR body, then Enter.
    const lines = linesOf(mirror.text());
    const at = lines.findIndex((line) => line.trim() === 'endfor');
    const typed = [{ range: { start: { line: at, character: 0 }, end: { line: at, character: 0 } },
                     text: 'if count>9 then\r\nhalt\r\n      endif\r\n\t \r\n' }];
    mirror.apply(typed);
    await server.connection.sendNotification(rpc.DidChangeTextDocumentNotification.type,
                                             { textDocument: { uri, version: ++version }, contentChanges: typed });
    const edits = await server.connection.sendRequest(rpc.DocumentOnTypeFormattingRequest.type, {
      textDocument, position: { line: at + 3, character: 2 }, ch: '\n', options,
    });
    checkLineEdits(mirror, edits);
    await applyEdits(edits);
    const now = linesOf(mirror.text());
    assert.equal(now[at + 2], '      endif');  // level 2 of 3 blanks: inside DEF and FOR
    assert.equal(now[at + 3], '      ');
    assert.equal(now[at], 'if count>9 then');  // only the finished line and the new one
  });

  await check(`${encoding}: a document holding NUL gets no edits and a warning`, async () => {
    const nulUri = url.pathToFileURL(path.join(cell, 'binary.src')).href;
    await server.connection.sendNotification(rpc.DidOpenTextDocumentNotification.type, {
      textDocument: { uri: nulUri, languageId: 'krl', version: 1, text: 'x=1\u0000\r\n' },
    });
    const logged = server.logs.length;
    const edits = await server.connection.sendRequest(rpc.DocumentFormattingRequest.type,
                                                      { textDocument: { uri: nulUri }, options });
    assert.deepEqual(edits, []);
    assert.equal(server.logs.length, logged + 1);
    assert.equal(server.logs[logged].type, rpc.MessageType.Warning);
  });

  await check(`${encoding}: a request after shutdown is refused, exit gives 0`, async () => {
    await server.connection.sendRequest(rpc.ShutdownRequest.type);
    await assert.rejects(server.connection.sendRequest(rpc.DocumentFormattingRequest.type,
                                                       { textDocument, options }),
                         (error) => error.code === rpc.ErrorCodes.InvalidRequest);
    await server.connection.sendNotification(rpc.ExitNotification.type);
    assert.equal(await server.exited, 0);
  });
  server.connection.dispose();
}

// Sample programs as an editor opens them: decoded as UTF-8 when they are,
// else byte for byte as Latin-1, the byte-order mark held apart.
async function corpus() {
  const folder = path.join(sourceDir, '..', 'shared', 'corpus', 'krl');
  const files = [path.join(sourceDir, 'examples', 'pick.src')];
  if (fs.existsSync(folder)) {
    const all = fs.readdirSync(folder, { recursive: true })
                    .filter((name) => /\.(src|dat|sub)$/i.test(name)).sort();
    files.push(...all.filter((_, i) => i % 25 === 0).map((name) => path.join(folder, name)));
  }
  const server = await start();
  await initialize(server);
  for (const [index, source] of files.entries()) {
    await check(`corpus: ${source}`, async () => {
      const bytes = fs.readFileSync(source);
      const file = path.join(cell, `corpus-${index}${path.extname(source)}`);
      fs.writeFileSync(file, bytes);
      const decode = (b) => {
        const text = new TextDecoder('utf-8', { fatal: false }).decode(b);
        return text.includes('\uFFFD') ? b.toString('latin1') : text;
      };
      let text = decode(bytes);
      if (text.startsWith('\uFEFF')) text = text.slice(1);
      const uri = url.pathToFileURL(file).href;
      const mirror = new Mirror(uri, text, 'utf-16');
      await server.connection.sendNotification(rpc.DidOpenTextDocumentNotification.type,
                                               { textDocument: { uri, languageId: 'krl', version: 1, text } });
      const edits = await server.connection.sendRequest(
          rpc.DocumentFormattingRequest.type, { textDocument: { uri }, options: { tabSize: 2, insertSpaces: true } });
      checkLineEdits(mirror, edits);
      mirror.apply(edits);
      let expected = decode(formatted(bytes, file));
      if (expected.startsWith('\uFEFF')) expected = expected.slice(1);
      assert.deepEqual(linesOf(mirror.text()), linesOf(expected));
      await server.connection.sendNotification(rpc.DidCloseTextDocumentNotification.type,
                                               { textDocument: { uri } });
    });
  }
  await check('exit without shutdown gives 1', () => stop(server, 1));
}

async function main() {
  await check('a client that names no encoding gets UTF-16', async () => {
    const server = await start();
    const result = await initialize(server);
    assert.equal(result.capabilities.positionEncoding, 'utf-16');
    await stop(server);
  });
  await session('utf-16');
  await session('utf-8');
  await corpus();
  console.log(`${checks} passed, ${failures} failed`);
  process.exitCode = failures === 0 ? 0 : 1;
}

main().catch((error) => {
  console.log(`FAIL: ${error.stack}`);
  process.exitCode = 1;
});
