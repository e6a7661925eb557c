// Shared by the JavaScript tests: named checks that count, the summary line
// CI reads, a scratch folder, vornette-format run as a user runs it (the
// Windows build through Wine), and headless Chromium as this machine starts it.
import { spawnSync } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

let passed = 0, failed = 0;

// Runs one named check; a failure is shown and counted, and the next goes on.
export async function check(name, body) {
  try {
    await body();
    ++passed;
  } catch (error) {
    ++failed;
    console.log(`FAIL ${name}: ${error?.stack ?? error}`);
  }
}

// Prints the line CI reads, and sets the exit status by it.
export function report() {
  console.log(`${passed} passed, ${failed} failed`);
  process.exitCode = failed === 0 ? 0 : 1;
}

// A scratch folder, removed when the process ends.
export function scratch(prefix) {
  const folder = mkdtempSync(join(tmpdir(), prefix));
  process.on('exit', () => rmSync(folder, { recursive: true, force: true }));
  return folder;
}

export const wineEnv = { ...process.env, WINEDEBUG: '-all' };

// The command and arguments that start `program` with `args`.
export const command = (program, args) =>
  program.endsWith('.exe') ? ['wine', [program, ...args]] : [program, args];

// The standard output of vornette-format `program` run with `args` on
// `input`; throws unless it ends with status 0.
export function runFormat(program, args, input, options = {}) {
  const [exe, argv] = command(program, args);
  const result = spawnSync(exe, argv, { input, env: wineEnv, maxBuffer: 1 << 28, ...options });
  if (result.status !== 0) throw new Error(`${args.join(' ')}: status ${result.status}: ${result.stderr}`);
  return result.stdout;
}

// Launch options for Debian's Chromium: as root it needs --no-sandbox, and
// this machine's closed network refuses its background connections.
export const chromiumOptions = {
  executablePath: '/usr/bin/chromium',
  args: ['--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage', '--disable-quic', '--no-first-run',
         '--disable-sync', '--disable-background-networking', '--disable-component-update'],
};
