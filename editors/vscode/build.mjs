// Bundles the extension with the language client into one file, as VS Code
// loads it: the `vscode` module is the editor's own.
// Usage: node build.mjs OUTPUT_FILE
import { build } from 'esbuild';

await build({
  entryPoints: [new URL('src/extension.js', import.meta.url).pathname],
  bundle: true,
  minify: true,
  platform: 'node',
  format: 'cjs',
  target: 'node18',
  external: ['vscode'],
  outfile: process.argv[2],
  logLevel: 'warning',
});
