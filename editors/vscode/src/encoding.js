// A window that opens a file as it starts (a double-click on a .src with VS
// Code closed, `code prog.src`, a restored session) decodes it before this
// extension's encoding defaults for KRL files count: a Windows-1252 program
// then reads as UTF-8, each byte that is not UTF-8 shows as U+FFFD, and
// saving it, formatted or not, writes EF BF BD in its place. VS Code keeps
// that encoding with the editor it restores, so the damage would come back
// in every later session. Windows-1252 itself leaves five byte values
// unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D): VS Code shows each as U+FFFD
// and writes all five back as 0x9D.
//
// So every KRL document is checked when this extension starts and when it
// opens: when its encoding cannot give its file's bytes back, it is decoded
// again, in place, with one that can.
'use strict';

const vscode = require('vscode');

// Maps each of the 256 byte values to a character of its own, so it gives
// back any file; the last resort, since it shows Windows-1252's letters at
// 0x80 to 0x9F (the euro sign, the curly quotes) as control characters.
const everyByte = 'iso88591';

const labels = { utf8: 'UTF-8', utf8bom: 'UTF-8 with BOM', windows1252: 'Western (Windows 1252)',
                 iso88591: 'Western (ISO 8859-1)' };
const label = (encoding) => labels[encoding] ?? encoding;

function isUtf8(bytes) {
  try {
    new TextDecoder('utf-8', { fatal: true }).decode(bytes);
    return true;
  } catch {
    return false;
  }
}

// True when decoding `bytes` with `encoding` and encoding the text again
// gives them back.
async function keepsBytes(bytes, encoding) {
  if (encoding === 'utf8' || encoding === 'utf8bom') return isUtf8(bytes);
  try {
    const text = await vscode.workspace.decode(bytes, { encoding });
    return Buffer.from(await vscode.workspace.encode(text, { encoding })).equals(Buffer.from(bytes));
  } catch {
    return false;  // not text in this encoding at all
  }
}

// The encoding that `document` should be decoded with instead of its own:
// the one the settings give KRL files (Windows-1252 by default), else
// UTF-8, else one that keeps every byte. Null when its own keeps its file's
// bytes, or there is no file to read.
async function betterEncoding(document) {
  let bytes;
  try {
    bytes = await vscode.workspace.fs.readFile(document.uri);
  } catch {
    return null;
  }
  if (await keepsBytes(bytes, document.encoding)) return null;
  const configured = vscode.workspace.getConfiguration('files', document).get('encoding');
  for (const encoding of new Set([configured, 'windows1252', 'utf8', everyByte])) {
    if (encoding && encoding !== document.encoding && (await keepsBytes(bytes, encoding))) return encoding;
  }
  return null;
}

// Heals the decoding of KRL documents; tells through `output` what it did.
class EncodingGuard {
  constructor(output) {
    this.output = output;
    this.warned = new Set();  // documents with unsaved changes already warned about
    this.pending = new Map();
  }

  // Checks `document`, once at a time.
  check(document) {
    // Only files on disk: a `git:` original of the same file is read-only.
    if (document.languageId !== 'krl' || document.uri.scheme !== 'file') return Promise.resolve();
    const key = document.uri.toString();
    if (!this.pending.has(key)) {
      this.pending.set(key, this.heal(document).catch((error) =>
        this.output.appendLine(`${key}: its encoding could not be checked: ${error?.message ?? error}`))
        .finally(() => this.pending.delete(key)));
    }
    return this.pending.get(key);
  }

  forget(document) {
    this.warned.delete(document.uri.toString());
  }

  async heal(document) {
    const encoding = await betterEncoding(document);
    if (!encoding) return;
    const name = vscode.workspace.asRelativePath(document.uri);
    const was = document.encoding;
    if (!document.isDirty) {
      await vscode.workspace.openTextDocument(document.uri, { encoding });
      this.output.appendLine(`${name}: read as ${label(was)}, which cannot give its bytes back; read again as ${label(encoding)}.`);
      return;
    }
    const key = document.uri.toString();
    if (this.warned.has(key)) return;
    this.warned.add(key);
    // Not awaited: the answer may take the user a while, and nothing else
    // waits for it.
    this.warn(document, name, was, encoding).catch((error) =>
      this.output.appendLine(`${name}: ${error?.message ?? error}`));
  }

  async warn(document, name, was, encoding) {
    const lost = (document.getText().match(/\uFFFD/g) ?? []).length;
    const reopen = `Reopen as ${label(encoding)}`;
    const choice = await vscode.window.showWarningMessage(
      `${name} was read as ${label(was)}, but it is not ${label(was)}: saving it would replace ` +
      `the bytes shown as \uFFFD (${lost} in the editor now) by others. It has unsaved changes, so ` +
      `Vornette neither re-opens nor formats it: do not save it.`, reopen);
    if (choice !== reopen) return;
    const discard = 'Discard Changes and Reopen';
    const sure = await vscode.window.showWarningMessage(
      `Re-open ${name} as ${label(encoding)}? Its unsaved changes are lost.`, { modal: true }, discard);
    if (sure !== discard) return;
    await vscode.window.showTextDocument(document);
    await vscode.commands.executeCommand('workbench.action.files.revert');
    await vscode.workspace.openTextDocument(document.uri, { encoding });
    this.warned.delete(document.uri.toString());
    this.output.appendLine(`${name}: unsaved changes discarded; read again as ${label(encoding)}.`);
  }
}

module.exports = { EncodingGuard };
