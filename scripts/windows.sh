#!/usr/bin/env bash
# Cross-builds the static, self-contained Windows programs with MinGW-w64,
# runs the test suite under Wine (with a Linux build, when there is one, to
# compare the output of both), and packs vornette-<version>-win64.zip.
# Usage: scripts/windows.sh [linux vornette to compare with]
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh g++-mingw-w64-x86-64 wine wine64 googletest
linux=${1:-}
[ -n "$linux" ] && linux=$(realpath "$linux")
# One Wine prefix for every run; its first start takes a few seconds.
export WINEPREFIX=${WINEPREFIX:-$HOME/.wine} WINEDEBUG=-all
wine cmd /c exit </dev/null >/dev/null 2>&1 || true

cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DVORNETTE_TESTS=ON -DVORNETTE_LINUX_BINARY="$linux" >/dev/null
cmake --build build/windows -j "$(nproc)"
ctest --test-dir build/windows -j "$(nproc)" --output-on-failure
(cd build/windows && cpack >/dev/null && ls -l vornette-*-win64.zip)
