// Bundles the page's script with esbuild and puts the page together in the
// folder given (a folder any static host serves as it is), beside the
// WebAssembly build's vornette.js and vornette.wasm, which must be there.
// Usage: node build.mjs OUTPUT_FOLDER
import { build } from 'esbuild';
import { copyFileSync, existsSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

const here = dirname(fileURLToPath(import.meta.url));
const output = process.argv[2];
for (const name of ['vornette.js', 'vornette.wasm']) {
  if (!existsSync(join(output, name))) throw new Error(`${name} is missing in ${output}`);
}
await build({
  entryPoints: [join(here, 'src', 'main.js')],
  bundle: true,
  minify: true,
  format: 'iife',
  target: 'es2020',
  loader: { '.ini': 'text', '.src': 'binary' },
  outfile: join(output, 'app.js'),
  logLevel: 'warning',
});
for (const name of ['index.html', 'style.css']) copyFileSync(join(here, name), join(output, name));
