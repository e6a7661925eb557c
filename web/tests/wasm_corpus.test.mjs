// The library built as WebAssembly formats every sample program byte for
// byte as the native vornette-format does, under several settings.
// Usage: node wasm_corpus.test.mjs VORNETTE_FORMAT SOURCE_DIR
import { spawnSync } from 'node:child_process';
import { existsSync, mkdtempSync, readdirSync, readFileSync, rmSync, statSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';

import { Vornette } from '../src/vornette.js';

const [program, sourceDir] = process.argv.slice(2).map((p) => resolve(p));
const built = join(sourceDir, 'build', 'web');
if (!existsSync(join(built, 'vornette.wasm'))) {
  console.log('no build/web (scripts/web.sh builds it): skipped');
  process.exit(77);
}
const createVornette = createRequire(import.meta.url)(join(built, 'vornette.js'));
const vornette = new Vornette(await createVornette({ wasmBinary: readFileSync(join(built, 'vornette.wasm')) }));

const shipped = readFileSync(join(sourceDir, 'Vornette.ini'), 'latin1');
const settings = {
  shipped,
  'lower case, wide, LF, every layout key': '[Spacing]\nTrimTrailingBlanks=1\nAlignAssignments=1\n' +
      '[Indent]\nIndentWidth=4\nExtendedBlocks=1\nIndentFolds=0\n[Output]\nLineEnding=LF\n[Capitalization]\n' +
      ['ProgramFlow', 'MotionCommand', 'SystemVariable', 'TypeDefinition'].map((c) => `CAP_${c}Strings=LowerCase\n`).join(''),
  'no spacing, own line ends, column-one comments': '[Spacing]\nSpacingOperators=0\n[Indent]\nIndentWidth=$3\n' +
      'IndentRoutineBodies=0\nKeepColumnOneComments=1\n[Output]\nLineEnding=Auto\n',
};

const folder = join(sourceDir, '..', 'shared', 'corpus', 'krl');
const files = [join(sourceDir, 'examples', 'pick.src')];
if (existsSync(folder)) {
  files.push(...readdirSync(folder, { recursive: true }).filter((n) => /\.(src|dat|sub)$/i.test(n))
                 .sort().map((n) => join(folder, n)).filter((f) => statSync(f).isFile()));
}
const work = mkdtempSync(join(tmpdir(), 'vornette-wasm-'));
let passed = 0, failed = 0;
try {
  for (const [name, ini] of Object.entries(settings)) {
    const iniFile = join(work, 'Vornette.ini');
    writeFileSync(iniFile, ini);
    const iniBytes = new TextEncoder().encode(ini);
    for (const file of files) {
      const bytes = readFileSync(file);
      const native = spawnSync(program, ['--config', iniFile, file], { maxBuffer: 1 << 28 });
      const wasm = vornette.format(bytes, iniBytes);
      if (native.status === 0 && wasm.ok && Buffer.compare(native.stdout, wasm.bytes) === 0) {
        ++passed;
      } else {
        ++failed;
        console.log(`FAIL ${file} (${name}): native status ${native.status}, wasm ${wasm.ok ? 'differs' : wasm.error}`);
      }
    }
  }
  // A NUL byte is refused, and out of memory is a failure, not a trap.
  const refused = [vornette.format(new Uint8Array([0x78, 0, 0x0a]), new Uint8Array()),
                   vornette.format(new TextEncoder().encode('end\nx\n'),
                                   new TextEncoder().encode('[Indent]\nIndentWidth=-2147483648\n'))];
  for (const result of refused) {
    if (!result.ok && /NUL|memory/.test(result.error)) ++passed;
    else { ++failed; console.log(`FAIL a refusal: ${JSON.stringify(result)}`); }
  }
  // Settings go out as every key and come back the same.
  const normalized = vornette.normalizeIni(new TextEncoder().encode(settings['no spacing, own line ends, column-one comments']));
  if (/^IndentWidth=3$/m.test(normalized) && /^LineEnding=Auto$/m.test(normalized) &&
      vornette.normalizeIni(new TextEncoder().encode(normalized)) === normalized) ++passed;
  else { ++failed; console.log(`FAIL normalizing settings: ${normalized}`); }
} finally {
  rmSync(work, { recursive: true, force: true });
}
console.log(`${passed} passed, ${failed} failed`);
process.exitCode = failed === 0 ? 0 : 1;
