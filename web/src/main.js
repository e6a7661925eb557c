// The playground: a program in the editor, formatted as you type by the
// library built as WebAssembly, under settings set by controls, its block
// warnings listed and marked in the gutter; files in and out byte for
// byte; the whole state in the URL fragment.
import { lintGutter, setDiagnostics } from '@codemirror/lint';
import { unifiedMergeView } from '@codemirror/merge';
import { EditorState } from '@codemirror/state';
import { basicSetup, EditorView } from 'codemirror';

import sample from '../../examples/pick.src';
import shippedIni from '../../Vornette.ini';
import { decodeFile, decodeWindows1252, encodeFile } from './codepage.js';
import { buildControls, controlsToIni, iniToControls } from './settings.js';
import { fragmentToState, stateToFragment } from './share.js';
import { Vornette } from './vornette.js';

const $ = (id) => document.getElementById(id);
const utf8Bytes = (text) => new TextEncoder().encode(text);

const page = {
  vornette: null,
  name: 'pick.src',
  bytes: sample,  // what is formatted: the file's bytes until the text is edited
  encoding: 'utf-8',
  mark: false,
  lineEnd: '\r\n',  // joins the lines of edited text: the file's first line end
  formatted: null,  // the result's bytes; null when the formatter refused the file
  formatMilliseconds: 0,
  warnings: [],  // the block warnings of `bytes`, as CodeMirror diagnostics
};

// The first line end of a file: LF, or CR LF for CR LF and a lone CR (as
// the formatter writes them); CR LF when there is none.
function firstLineEnd(bytes) {
  const at = bytes.findIndex((b) => b === 0x0a || b === 0x0d);
  return at >= 0 && bytes[at] === 0x0a ? '\n' : '\r\n';
}

function decodeAsSource(bytes) {
  return page.encoding === 'utf-8' ? new TextDecoder().decode(bytes) : decodeWindows1252(bytes);
}

// The block warnings of the bytes as diagnostics of the editor's text:
// a column counts bytes in the file's encoding, the editor counts
// characters, and holds a UTF-8 byte-order mark apart from the first line.
function diagnosticsOf(warnings, doc) {
  return warnings.map((warning) => {
    const lineStart = warning.offset - (warning.column - 1);
    const textStart = warning.line === 1 && page.mark ? lineStart + 3 : lineStart;
    const before = decodeAsSource(page.bytes.subarray(textStart, warning.offset)).length;
    const from = doc.line(warning.line).from + before;
    const to = from + decodeAsSource(page.bytes.subarray(warning.offset, warning.offset + warning.length)).length;
    return { from, to, severity: 'warning', source: 'vornette', message: warning.text, line: warning.line };
  });
}

function showWarnings(ini) {
  const result = page.vornette.checkBlocks(page.bytes, ini, decodeAsSource);
  page.warnings = result.ok ? diagnosticsOf(result.warnings, source.state.doc) : [];
  const list = $('warnings');
  list.replaceChildren(...page.warnings.map((warning) => {
    const item = document.createElement('li');
    const link = document.createElement('a');
    link.href = '#';
    link.textContent = `Line ${warning.line}: ${warning.message}`;
    link.addEventListener('click', (event) => {
      event.preventDefault();
      source.dispatch({ selection: { anchor: warning.from, head: warning.to }, scrollIntoView: true });
      source.focus();
    });
    item.append(link);
    return item;
  }));
  list.hidden = page.warnings.length === 0;
}

const readOnly = [EditorState.readOnly.of(true), EditorView.editable.of(false)];
let settingSource = false;
const source = new EditorView({
  parent: $('source'),
  extensions: [basicSetup, lintGutter(),
               EditorView.updateListener.of((update) => {
    if (!update.docChanged || settingSource) return;
    const text = update.state.doc.sliceString(0).replace(/\n/g, page.lineEnd);
    page.bytes = encodeFile(text, page.encoding, page.mark);
    format();
  })],
});
const formatted = new EditorView({ parent: $('formatted'), extensions: [basicSetup, readOnly] });
let changes = null;

function setText(view, text) {
  view.dispatch({ changes: { from: 0, to: view.state.doc.length, insert: text } });
}

// The diff view, made anew when it is shown: the merge view takes its
// original text when it is made.
function showChanges() {
  if ($('changes').hidden) return;
  changes?.destroy();
  changes = new EditorView({
    parent: $('changes'),
    doc: formatted.state.doc,
    extensions: [basicSetup, readOnly,
                 unifiedMergeView({ original: source.state.doc, mergeControls: false })],
  });
}

let fragmentTimer = 0;
function format() {
  const ini = utf8Bytes(controlsToIni($('settings')));
  const start = performance.now();
  const result = page.vornette.format(page.bytes, ini);
  page.formatMilliseconds = performance.now() - start;
  showWarnings(ini);
  // Formatting runs inside the editor's update, which may not start another:
  // the marks follow as soon as it is done, before any further input.
  queueMicrotask(() => source.dispatch(setDiagnostics(source.state, page.warnings)));
  page.formatted = result.ok ? result.bytes : null;
  $('error').hidden = result.ok;
  $('error').textContent = result.ok ? '' : `Not formatted: ${result.error}.`;
  $('download-formatted').disabled = !result.ok;
  setText(formatted, result.ok ? decodeAsSource(result.bytes) : '');
  showChanges();
  const kilobytes = (page.bytes.length / 1024).toFixed(1);
  $('status').textContent = `${page.name}: ${kilobytes} KB, ${page.encoding === 'utf-8' ? 'UTF-8' : 'Windows-1252'}` +
      (result.ok ? `, formatted in ${page.formatMilliseconds.toFixed(1)} ms` : '');
  // The link follows once typing pauses: a large program takes a moment to
  // deflate.
  document.body.dataset.linked = 'false';
  clearTimeout(fragmentTimer);
  fragmentTimer = setTimeout(keepStateInUrl, 300);
}

async function keepStateInUrl() {
  const state = { ini: controlsToIni($('settings')), name: page.name, source: page.bytes };
  const fragment = await stateToFragment(state);
  if (state.source !== page.bytes || state.ini !== controlsToIni($('settings'))) return;  // changed meanwhile
  history.replaceState(null, '', fragment);
  $('share-link').href = fragment;
  document.body.dataset.linked = 'true';
}

function open(bytes, name) {
  const file = decodeFile(bytes);
  Object.assign(page, { bytes, name, encoding: file.encoding, mark: file.mark, lineEnd: firstLineEnd(bytes) });
  settingSource = true;
  setText(source, file.text);
  settingSource = false;
  format();
}

function download(bytes, name) {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
  link.download = name;
  link.click();
  setTimeout(() => URL.revokeObjectURL(link.href), 10000);
}

async function fileBytes(input) {
  const file = input.files[0];
  input.value = '';
  return file ? { bytes: new Uint8Array(await file.arrayBuffer()), name: file.name } : null;
}

function setSettings(iniBytes) {
  iniToControls(page.vornette.normalizeIni(iniBytes), $('settings'));
}

async function main() {
  // createVornette is the glue's, loaded before this script.
  page.vornette = new Vornette(await globalThis.createVornette());
  $('version').textContent = `Vornette ${page.vornette.version}`;
  buildControls($('settings'), format);
  $('open-file').addEventListener('change', async (event) => {
    const file = await fileBytes(event.target);
    if (file) open(file.bytes, file.name);
  });
  $('load-ini').addEventListener('change', async (event) => {
    const file = await fileBytes(event.target);
    if (file) setSettings(file.bytes);
    format();
  });
  $('download-formatted').addEventListener('click', () => download(page.formatted, page.name));
  $('download-ini').addEventListener('click',
      () => download(utf8Bytes(page.vornette.normalizeIni(utf8Bytes(controlsToIni($('settings'))))), 'Vornette.ini'));
  for (const tab of document.querySelectorAll('[data-tab]')) {
    tab.addEventListener('click', () => {
      for (const other of document.querySelectorAll('[data-tab]')) {
        other.setAttribute('aria-selected', String(other === tab));
        $(other.dataset.tab).hidden = other !== tab;
      }
      showChanges();
    });
  }
  const restored = await fragmentToState(location.hash);
  setSettings(restored ? utf8Bytes(restored.ini) : utf8Bytes(shippedIni));
  if (restored) open(restored.source, restored.name);
  else open(sample, 'pick.src');
  document.body.dataset.ready = 'true';
}

main().catch((error) => {
  $('error').hidden = false;
  $('error').textContent = `The formatter could not be loaded: ${error}`;
});
