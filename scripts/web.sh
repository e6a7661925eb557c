#!/usr/bin/env bash
# Builds the playground into build/web/, a folder any static host serves as
# it is: the library as WebAssembly (Debian's emscripten), the page's script
# bundled with esbuild from the npm packages web/package-lock.json pins.
# Serve it with: python3 -m http.server -d build/web 8000
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh emscripten
command -v npm >/dev/null || scripts/deps.sh nodejs npm
# emscripten's tools run on the machine's node, which needs Debian's acorn.
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S . -B build/wasm -DCMAKE_BUILD_TYPE=Release -DVORNETTE_TESTS=OFF >/dev/null
cmake --build build/wasm -j "$(nproc)"
mkdir -p build/web
cp build/wasm/wasm/vornette.js build/wasm/wasm/vornette.wasm build/web/
npm ci --prefix web --no-audit --no-fund --loglevel=error >/dev/null
node web/build.mjs build/web
ls -l build/web
