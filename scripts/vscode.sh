#!/usr/bin/env bash
# Builds the VS Code extension into build/vscode/: one package a platform,
# each holding the vornette-format of its platform (the release build's for
# Linux, the MinGW build's for Windows), bundled with esbuild and packed by
# vsce offline, from the npm packages editors/vscode/package-lock.json pins.
# Usage: scripts/vscode.sh [LINUX_VORNETTE_FORMAT] [WINDOWS_VORNETTE_FORMAT_EXE]
set -euo pipefail
cd "$(dirname "$0")/.."
linux=${1:-build/release/vornette-format}
windows=${2:-build/windows/vornette-format.exe}
version=$(sed -n 's/^project(Vornette VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
grep -q "\"version\": \"$version\"" editors/vscode/package.json ||
  { echo "editors/vscode/package.json does not carry the version $version" >&2; exit 1; }
command -v npm >/dev/null || scripts/deps.sh nodejs npm
npm ci --prefix editors/vscode --no-audit --no-fund --loglevel=error >/dev/null
out=$PWD/build/vscode
rm -rf "$out" && mkdir -p "$out"
for target in linux-x64 win32-x64; do
  binary=$linux
  [ "$target" = win32-x64 ] && binary=$windows
  [ -f "$binary" ] || { echo "no $binary: build it first" >&2; exit 1; }
  stage=$out/$target
  mkdir -p "$stage/bin" "$stage/dist"
  cp editors/vscode/{package.json,LICENSE,README.md,CHANGELOG.md,icon.png,language-configuration.json} "$stage/"
  # The documented settings, for "Vornette: Open Settings File" to create.
  cp Vornette.ini "$stage/"
  cp "$binary" "$stage/bin/"
  node editors/vscode/build.mjs "$stage/dist/extension.js"
  (cd "$stage" && "$OLDPWD/editors/vscode/node_modules/.bin/vsce" package --target "$target" \
     --no-dependencies -o "$out/vornette-$target-$version.vsix" >/dev/null)
done
ls -l "$out"/*.vsix
