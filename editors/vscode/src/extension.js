// Vornette in VS Code: runs `vornette-format --lsp` as the language server of
// KRL documents, so that Format Document, Format Selection, format on type
// and format on save (whole files or only the changed lines) all go through
// the same formatter as the command line; shows the formatter's block
// warnings as problems while you type and which Vornette.ini governs the
// file in hand; and re-reads a KRL file that VS Code decoded in an encoding
// that would not give its bytes back.
'use strict';

const fs = require('node:fs');
const path = require('node:path');
const vscode = require('vscode');
const { LanguageClient } = require('vscode-languageclient/node');
const { EncodingGuard } = require('./encoding');
const { SettingsStatus } = require('./settings_status');

const program = process.platform === 'win32' ? 'vornette-format.exe' : 'vornette-format';
let client = null;
let output = null;
let status = null;

// True when `file` is a file this process may run.
function runnable(file) {
  try {
    fs.accessSync(file, process.platform === 'win32' ? fs.constants.F_OK : fs.constants.X_OK);
    return fs.statSync(file).isFile();
  } catch {
    return false;
  }
}

// `vornette-format` as the PATH finds it, or null.
function onPath() {
  for (const folder of (process.env.PATH ?? '').split(path.delimiter).filter(Boolean)) {
    if (runnable(path.join(folder, program))) return path.join(folder, program);
  }
  return null;
}

// The programs tried in order: vornette.path when set (a workspace the user
// has not trusted cannot set it), else the bundled one, else the PATH's.
// Returns the first that can run and what was tried.
function findServer(context) {
  const configured = vscode.workspace.getConfiguration('vornette').get('path', '');
  if (configured) return { found: runnable(configured) ? configured : null, tried: [configured] };
  const bundled = context.asAbsolutePath(path.join('bin', program));
  // An installer that drops the executable bit leaves the program itself whole.
  if (process.platform !== 'win32' && fs.existsSync(bundled) && !runnable(bundled)) {
    try { fs.chmodSync(bundled, 0o755); } catch {}
  }
  return { found: runnable(bundled) ? bundled : onPath(), tried: [bundled, `${program} on the PATH`] };
}

async function start(context) {
  const { found, tried } = findServer(context);
  if (!found) {
    output.appendLine(`No vornette-format could be started. Tried: ${tried.join(', ')}: none is a program this user may run.`);
    vscode.window.showErrorMessage(`Vornette: no vornette-format to run (tried ${tried.join(', ')}).`, 'Show Output')
      .then((choice) => choice && output.show());
    return;
  }
  const diagnostics = vscode.workspace.getConfiguration('vornette').get('diagnostics', true);
  client = new LanguageClient('vornette', 'Vornette', { command: found, args: ['--lsp'] }, {
    documentSelector: [{ language: 'krl' }],
    outputChannel: output,
    initializationOptions: { diagnostics },
  });
  try {
    await client.start();
  } catch (error) {
    output.appendLine(`${found} --lsp did not start: ${error.message ?? error}`);
    client = null;
    return;
  }
  const info = client.initializeResult?.serverInfo;
  output.appendLine(`${info?.name ?? 'vornette-format'} ${info?.version ?? ''} (${found})`);
  status.refresh();
}

async function restart(context) {
  const running = client;
  client = null;
  if (running) await running.stop().catch(() => {});
  await start(context);
}

async function activate(context) {
  output = vscode.window.createOutputChannel('Vornette');
  const guard = new EncodingGuard(output);
  status = new SettingsStatus(() => client, context.asAbsolutePath('Vornette.ini'));
  const settingsFiles = vscode.workspace.createFileSystemWatcher('**/{Vornette.ini,.vornetteignore}');
  context.subscriptions.push(
    output,
    status,
    settingsFiles,
    vscode.commands.registerCommand('vornette.restartServer', () => restart(context)),
    vscode.commands.registerCommand('vornette.showOutput', () => output.show()),
    vscode.commands.registerCommand('vornette.openSettingsFile', () => status.open()),
    vscode.workspace.onDidOpenTextDocument((document) => guard.check(document)),
    vscode.workspace.onDidCloseTextDocument((document) => guard.forget(document)),
    vscode.window.onDidChangeActiveTextEditor(() => status.refresh()),
    settingsFiles.onDidCreate(() => status.refresh()),
    settingsFiles.onDidChange(() => status.refresh()),
    settingsFiles.onDidDelete(() => status.refresh()),
    vscode.workspace.onDidChangeConfiguration((change) => {
      if (change.affectsConfiguration('vornette.path') || change.affectsConfiguration('vornette.diagnostics')) {
        restart(context);
      }
    }),
    vscode.workspace.onDidGrantWorkspaceTrust(() => restart(context)));
  // The documents open already are read right before the server sees them.
  await Promise.all(vscode.workspace.textDocuments.map((document) => guard.check(document)));
  await start(context);
}

function deactivate() {
  return client?.stop();
}

module.exports = { activate, deactivate };
