// The library built as WebAssembly formats every sample program byte for
// byte as the native vornette-format does, and finds the same block
// warnings, under several settings.
// Usage: node wasm_corpus.test.mjs VORNETTE_FORMAT SOURCE_DIR
import assert from 'node:assert/strict';
import { existsSync, readdirSync, readFileSync, statSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { join, resolve } from 'node:path';

import { spawnSync } from 'node:child_process';

import { check, command, report, scratch, wineEnv } from '../../tests/harness.mjs';
import { Vornette } from '../src/vornette.js';

const [program, sourceDir] = process.argv.slice(2).map((p) => resolve(p));
const built = join(sourceDir, 'build', 'web');
if (!existsSync(join(built, 'vornette.wasm'))) {
  console.log('no build/web (scripts/web.sh builds it): skipped');
  process.exit(77);
}
const createVornette = createRequire(import.meta.url)(join(built, 'vornette.js'));
const vornette = new Vornette(await createVornette({ wasmBinary: readFileSync(join(built, 'vornette.wasm')) }));
const bytesOf = (text) => new TextEncoder().encode(text);

const own = '[Spacing]\nSpacingOperators=0\n[Indent]\nIndentWidth=$3\nIndentRoutineBodies=0\n' +
            'KeepColumnOneComments=1\n[Output]\nLineEnding=Auto\n';
const settings = {
  shipped: readFileSync(join(sourceDir, 'Vornette.ini'), 'latin1'),
  'lower case, wide, LF, every layout key': '[Spacing]\nTrimTrailingBlanks=1\nAlignAssignments=1\n' +
      '[Indent]\nIndentWidth=4\nExtendedBlocks=1\nIndentFolds=0\n[Output]\nLineEnding=LF\n[Capitalization]\n' +
      ['ProgramFlow', 'MotionCommand', 'SystemVariable', 'TypeDefinition'].map((c) => `CAP_${c}Strings=LowerCase\n`).join(''),
  'no spacing, own line ends, column-one comments': own,
};

const folder = join(sourceDir, '..', 'shared', 'corpus', 'krl');
const files = [join(sourceDir, 'examples', 'pick.src')];
if (existsSync(folder)) {
  files.push(...readdirSync(folder, { recursive: true }).filter((n) => /\.(src|dat|sub)$/i.test(n))
                 .sort().map((n) => join(folder, n)).filter((f) => statSync(f).isFile()));
}
const iniFile = join(scratch('vornette-wasm-'), 'Vornette.ini');
for (const [name, ini] of Object.entries(settings)) {
  writeFileSync(iniFile, ini);
  await check(`${files.length} files with the settings "${name}"`, () => {
    for (const file of files) {
      const bytes = readFileSync(file);
      const wasm = vornette.format(bytes, bytesOf(ini));
      const native = spawnSync(...command(program, ['--warnings', '--config', iniFile, file]), { env: wineEnv });
      assert.deepEqual(wasm.ok && Buffer.from(wasm.bytes), native.stdout, file);
      const warnings = vornette.checkBlocks(bytes, bytesOf(ini), (b) => Buffer.from(b).toString('latin1')).warnings;
      assert.equal(warnings.map((w) => `${file}:${w.line}:${w.column}: warning: ${w.text}\n`).join(''),
                   native.stderr.toString('latin1'), file);
    }
  });
}
await check('a NUL byte is refused, and out of memory is a failure, not a trap', () => {
  assert.match(vornette.format(new Uint8Array([0x78, 0, 0x0a]), new Uint8Array()).error, /NUL/);
  assert.match(vornette.format(bytesOf('end\nx\n'), bytesOf('[Indent]\nIndentWidth=-2147483648\n')).error, /memory/);
});
await check('settings go out as every key and come back the same', () => {
  const normalized = vornette.normalizeIni(bytesOf(own));
  assert.match(normalized, /^IndentWidth=3$/m);
  assert.match(normalized, /^LineEnding=Auto$/m);
  assert.equal(vornette.normalizeIni(bytesOf(normalized)), normalized);
});
report();
