// Which Vornette.ini governs the KRL file in hand, as the server finds it
// (the request `vornette/settings`), or which .vornetteignore leaves it
// out: shown as a language status item,
// opened by a click or by "Vornette: Open Settings File", which offers to
// create one in the workspace where none governs it from there.
'use strict';

const fs = require('node:fs');
const vscode = require('vscode');

// The settings file of `uri` from the running server: { path, uri }, both
// null for the built-in settings. Throws when there is no server or it
// cannot read the file.
async function settingsOf(client, uri) {
  if (!client) throw new Error('vornette-format is not running');
  return client.sendRequest('vornette/settings', { textDocument: { uri: uri.toString() } });
}

const inWorkspace = (uri) => uri && vscode.workspace.getWorkspaceFolder(uri) !== undefined;

class SettingsStatus {
  // `client()` gives the running language client, or null; `template` is
  // the path of the documented Vornette.ini this extension carries.
  constructor(client, template) {
    this.client = client;
    this.template = template;
    this.item = vscode.languages.createLanguageStatusItem('vornette.settings', { language: 'krl' });
    this.item.name = 'Vornette settings';
    this.item.text = 'Vornette';
  }

  dispose() {
    this.item.dispose();
  }

  // Shows what governs the active KRL document.
  async refresh() {
    const document = vscode.window.activeTextEditor?.document;
    if (!document || document.languageId !== 'krl') return;
    try {
      const found = await settingsOf(this.client(), document.uri);
      if (vscode.window.activeTextEditor?.document !== document) return;
      this.item.severity = vscode.LanguageStatusSeverity.Information;
      if (found.ignored) {
        // Left out: Vornette neither formats it nor warns about it.
        const file = vscode.Uri.parse(found.ignored.uri);
        this.item.text = `ignored by ${vscode.workspace.asRelativePath(file)}:${found.ignored.line}`;
        this.item.detail = found.ignored.pattern;
        this.item.command = { title: 'Open', command: 'vscode.open', arguments: [file] };
        return;
      }
      this.item.text = found.uri ? vscode.workspace.asRelativePath(vscode.Uri.parse(found.uri)) : 'built-in settings';
      this.item.detail = found.uri ? 'the Vornette settings of this file' : 'no Vornette.ini governs this file';
      this.item.command = { title: found.uri ? 'Open' : 'Create Vornette.ini', command: 'vornette.openSettingsFile' };
    } catch (error) {
      this.item.severity = vscode.LanguageStatusSeverity.Warning;
      this.item.text = 'Vornette settings unknown';
      this.item.detail = error?.message ?? String(error);
      this.item.command = undefined;
    }
  }

  // Opens the Vornette.ini that governs the active KRL document (or a file
  // in the first workspace folder); where none in the workspace does, offers
  // to create one in the document's workspace folder.
  async open() {
    const document = vscode.window.activeTextEditor?.document;
    const krl = document?.languageId === 'krl' ? document.uri : undefined;
    const folder = (krl && vscode.workspace.getWorkspaceFolder(krl)) ?? vscode.workspace.workspaceFolders?.[0];
    const asked = krl ?? (folder && vscode.Uri.joinPath(folder.uri, 'untitled.src'));
    let found = { path: null, uri: null };
    if (asked) {
      try {
        found = await settingsOf(this.client(), asked);
      } catch (error) {
        vscode.window.showErrorMessage(`Vornette: ${error?.message ?? error}`);
        return;
      }
    }
    const governing = found.uri ? vscode.Uri.parse(found.uri) : null;
    if (inWorkspace(governing)) {
      await vscode.window.showTextDocument(governing);
      return;
    }
    const open = governing ? `Open ${found.path}` : null;
    if (!folder) {
      const choice = await vscode.window.showInformationMessage(
        `Vornette: ${governing ? `KRL files follow ${found.path}` : 'KRL files follow the built-in settings'}; ` +
        'open a folder to keep a Vornette.ini with it.', ...(open ? [open] : []));
      if (choice === open) await vscode.window.showTextDocument(governing);
      return;
    }
    const target = vscode.Uri.joinPath(folder.uri, 'Vornette.ini');
    const create = 'Create Vornette.ini';
    const choice = await vscode.window.showInformationMessage(
      `Vornette: no Vornette.ini in the workspace governs ${krl ? vscode.workspace.asRelativePath(krl) : 'its KRL files'}` +
      ` (they follow ${governing ? found.path : 'the built-in settings'}). Create ` +
      `${vscode.workspace.asRelativePath(target)} with the documented settings?`, create, ...(open ? [open] : []));
    if (choice === open) return vscode.window.showTextDocument(governing);
    if (choice !== create) return;
    try {
      await vscode.workspace.fs.stat(target);
    } catch {
      // Editors keep each file's own line ends, and so should the command line.
      const text = fs.readFileSync(this.template, 'utf8').replace(/^LineEnding=.*$/m, 'LineEnding=Auto');
      await vscode.workspace.fs.writeFile(target, Buffer.from(text, 'utf8'));
    }
    await vscode.window.showTextDocument(target);
    await this.refresh();
  }
}

module.exports = { SettingsStatus };
